#pragma once

#include "platform/WindowSystem.h"
#include "skinui/CImageDescriptor.h"
#include "skinui/UIGeometry.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

class CManagerUI;
class CRenderEngine;
struct TEventUI;
struct TNotifyEvent;

// Control flags (GetControlFlags).
inline constexpr uint32_t UIFLAG_TABSTOP = 0x01;
inline constexpr uint32_t UIFLAG_SETCURSOR = 0x02;

// Flags of FindControl.
inline constexpr uint32_t UIFIND_ALL = 0x0000;
inline constexpr uint32_t UIFIND_VISIBLE = 0x0001;
inline constexpr uint32_t UIFIND_ENABLED = 0x0002;
inline constexpr uint32_t UIFIND_HITTEST = 0x0004;
inline constexpr uint32_t UIFIND_UPDATETEST = 0x0008;
inline constexpr uint32_t UIFIND_TOP_FIRST = 0x0010;
inline constexpr uint32_t UIFIND_ME_FIRST = 0x8000;

class CControlUI;
// Answers the control it is looking for (stops the search) or nullptr (goes on).
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

// Delegates answer false to refuse (the event is not handed on / the control is not painted).
using EventDelegate = std::function<bool(TEventUI& event)>;
using NotifyDelegate = std::function<bool(TNotifyEvent& notify)>;
using PaintDelegate = std::function<bool(CControlUI& control)>;

// Base of every control: state, attributes, layout inputs, events and the paint steps.
class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Destroys this control; the window's cleanup uses it for delayed destruction.
    virtual void Delete();

    virtual std::string GetName() const;
    virtual void SetName(std::string_view name);
    virtual std::string_view GetClass() const;
    // Answers this control when `name` is one of its class names (see each class), else nullptr.
    virtual void* GetInterface(std::string_view name);
    virtual uint32_t GetControlFlags() const;

    // Runs the control's default action; false when it is invisible or disabled.
    virtual bool Activate();
    CManagerUI* GetManager() const;
    // Binds the control (and, for containers, its children) to a manager and parent; with `init`
    // the control is initialised (Init) once bound.
    virtual void SetManager(CManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;
    // A control drawn over this one (owned by it).
    virtual CControlUI* GetCover() const;
    virtual void SetCover(CControlUI* cover);

    virtual std::string GetText() const;
    virtual void SetText(std::string_view text);

    virtual const UIRect& GetPos() const;
    // Relative to the parent's item rectangle.
    virtual UIRect GetRelativePos() const;
    virtual UIRect GetClientPos() const;
    virtual void SetPos(UIRect rect, bool needInvalidate = true);
    virtual void Move(UISize offset, bool needInvalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual UIRect GetPadding() const;
    virtual void SetPadding(UIRect padding);
    virtual UISize GetFixedXY() const;
    virtual void SetFixedXY(UISize xy);
    // Left, top, right, bottom fractions of the parent's size for floating controls.
    struct FloatPercent {
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
    };
    virtual FloatPercent GetFloatPercent() const;
    virtual void SetFloatPercent(FloatPercent percent);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);

    virtual std::string GetToolTip() const;
    virtual void SetToolTip(std::string_view text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual char GetShortcut() const;
    virtual void SetShortcut(char ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);
    virtual const std::string& GetUserData() const;
    virtual void SetUserData(std::string_view text);
    virtual intptr_t GetTag() const;
    virtual void SetTag(intptr_t tag);

    // Effective visibility: own flag and internal flag (hidden ancestor) together.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    // Set by an ancestor whose visibility changed.
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool isFloat = true);

    // Walks this control (and, for containers, its subtree) with the UIFIND_* flags.
    virtual CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags);

    // Called once the control is bound to its manager.
    void Init();
    virtual void DoInit();

    // Runs the event delegates, then DoEvent unless a delegate refused.
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual std::string GetAttribute(std::string_view name) const;
    virtual void SetAttribute(std::string_view name, std::string_view value);
    virtual std::string GetAttributeList() const;
    // name="value" pairs separated by one space (the Default list syntax).
    virtual void ApplyAttributeList(std::string_view list);

    // Preferred size for the layouts; 0 in a dimension means no preference.
    virtual UISize EstimateSize(UISize available);

    // Entry point of painting (the host calls it on the root, containers on their children):
    // nothing when the control misses `paint` or a paint delegate refuses, else DoPaint.
    // Answers false on reaching `stopControl` (not painted), which ends the painting.
    virtual bool Paint(CRenderEngine& render, const UIRect& paint, CControlUI* stopControl);
    // Clip to the rounded corners, then the paint steps in order, then the cover.
    virtual bool DoPaint(CRenderEngine& render, const UIRect& paint, CControlUI* stopControl);
    virtual void PaintBkColor(CRenderEngine& render);
    virtual void PaintBkImage(CRenderEngine& render);
    virtual void PaintStatusImage(CRenderEngine& render);
    virtual void PaintText(CRenderEngine& render);
    virtual void PaintBorder(CRenderEngine& render);
    virtual void DoPostPaint(CRenderEngine& render, const UIRect& paint);

    // --- non-virtual helpers used by the framework ---

    // Asks the manager to repaint the item rectangle (nothing without a manager).
    void Invalidate();
    bool IsUpdateNeeded() const;
    void NeedUpdate();
    void NeedParentUpdate();
    // Clears the update flag; the manager calls it after laying the control out again.
    void ClearUpdateNeeded();

    // Timers and notifications through the manager; without one they do nothing (false).
    bool SetTimer(uint32_t timerId, uint32_t elapseMs);
    void KillTimer(uint32_t timerId);
    void KillTimers();
    void SendNotify(std::string_view type, uintptr_t wParam = 0, intptr_t lParam = 0);

    void AddEventDelegate(EventDelegate delegate);
    void AddNotifyDelegate(NotifyDelegate delegate);
    void AddPaintDelegate(PaintDelegate delegate);
    // Runs the control's own notify delegates; false when one of them refused.
    bool RunNotifyDelegates(TNotifyEvent& notify);

    // Custom attributes: every name the class does not know.
    std::string GetCustomAttribute(std::string_view name) const;
    void AddCustomAttribute(std::string_view name, std::string_view value);
    void RemoveCustomAttribute(std::string_view name);

    uint32_t GetBkColor() const;
    void SetBkColor(uint32_t argb);
    uint32_t GetBkColor2() const;
    void SetBkColor2(uint32_t argb);
    uint32_t GetBkColor3() const;
    void SetBkColor3(uint32_t argb);
    uint32_t GetBorderColor() const;
    void SetBorderColor(uint32_t argb);
    uint32_t GetFocusBorderColor() const;
    void SetFocusBorderColor(uint32_t argb);
    UIRect GetBorderSize() const;
    void SetBorderSize(UIRect sides);
    void SetBorderSize(int size);
    int GetBorderStyle() const;
    void SetBorderStyle(int style);
    UISize GetBorderRound() const;
    void SetBorderRound(UISize round);
    const std::string& GetBkImage() const;
    void SetBkImage(std::string_view descriptor);
    bool IsColorHSL() const;
    void SetColorHSL(bool hsl);
    const std::string& GetVirtualWnd() const;
    void SetVirtualWnd(std::string_view name);

    // Draws an image descriptor into the control (loading it on first use); false when it
    // drew nothing. `dest` overrides the descriptor's own destination when given.
    bool DrawImage(CRenderEngine& render, CImageDescriptor& image, const UIRect* dest = nullptr,
                   uint8_t fade = 255);

protected:
    // The paint rectangle of the current DoPaint (client coordinates).
    const UIRect& PaintRect() const { return paintRect_; }
    bool IsInternVisible() const { return internVisible_; }

    // FindControl's filters (visible, enabled, hit test, update test) for this control.
    bool PassesFindFilters(FindControlProc proc, void* data, uint32_t flags) const;
    CControlUI* FindSelf(FindControlProc proc, void* data, uint32_t flags);
    CControlUI* FindCover(FindControlProc proc, void* data, uint32_t flags);
    // Stores a colour and repaints when it changed.
    void SetColor(uint32_t& field, uint32_t argb);
    // Stores an image descriptor and repaints when it changed (keeps a loaded image otherwise).
    void SetImage(CImageDescriptor& image, std::string_view descriptor);
    // Invalidates `area` as far as every ancestor shows it.
    void InvalidateArea(UIRect area);
    void SetCursor(Platform::CursorKind cursor);
    // Pointer and button events (those that go to the parent of a control without mouse input).
    static bool IsMouseEvent(const TEventUI& event);

    CManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    UIRect itemRect_;
    UIRect paintRect_;
    bool focused_ = false;
    bool updateNeeded_ = true;

private:
    void PlaceFloating(const UIRect& relative);
    void SetSizeConstraint(int& field, int value);
    void DropFocus();
    void SetFloatAttribute(std::string_view value);
    void PaintSteps(CRenderEngine& render);

    std::string name_;
    std::string text_;
    std::string toolTip_;
    int toolTipWidth_ = 300;
    std::string userData_;
    intptr_t tag_ = 0;
    char shortcut_ = '\0';
    bool menuUsed_ = false;

    UISize fixedXY_;
    UISize fixedSize_;
    UISize minSize_;
    UISize maxSize_{9999, 9999};
    UIRect padding_;
    bool float_ = false;
    FloatPercent floatPercent_;

    bool visible_ = true;
    bool internVisible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool colorHSL_ = false;

    uint32_t bkColor_ = 0;
    uint32_t bkColor2_ = 0;
    uint32_t bkColor3_ = 0;
    uint32_t borderColor_ = 0;
    uint32_t focusBorderColor_ = 0;
    UIRect borderSize_;
    int borderStyle_ = 0;
    UISize borderRound_;
    CImageDescriptor bkImage_;
    std::string virtualWnd_;

    CControlUI* cover_ = nullptr;
    std::map<std::string, std::string, std::less<>> customAttributes_;
    std::vector<EventDelegate> eventDelegates_;
    std::vector<NotifyDelegate> notifyDelegates_;
    std::vector<PaintDelegate> paintDelegates_;
};

} // namespace SkinUI
