#pragma once

#include "platform/WindowSystem.h"
#include "skinui/CSkinResources.h"
#include "skinui/IMessageFilterUI.h"
#include "skinui/INotifyUI.h"
#include "skinui/TEventUI.h"
#include "skinui/TNotifyEvent.h"
#include "skinui/UIGeometry.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

typedef struct _PangoFontDescription PangoFontDescription;

namespace SkinUI {

class CControlUI;
class CRenderEngine;
struct TImageEntry;

// Application message that drains the asynchronous notifications and
// destroys the controls queued for delayed cleanup.
inline constexpr uint32_t WM_APP_CLEANUP = 0x8001;

// One window's side of the framework: holds the control tree, turns native
// messages into control events, focus changes, timers and notifications,
// and lays out and paints the tree. User-interface thread only.
class CManagerUI {
public:
    CManagerUI();
    ~CManagerUI();
    CManagerUI(const CManagerUI&) = delete;
    CManagerUI& operator=(const CManagerUI&) = delete;

    void Init(Platform::WindowId window);
    Platform::WindowId GetPaintWindow() const { return window_; }
    CRenderEngine& GetRenderEngine();

    CSkinResources& GetResources() { return resources_; }
    const CSkinResources& GetResources() const { return resources_; }

    bool AttachDialog(CControlUI* root);
    // The window is gone: destroys the tree and everything queued, leaves the manager list.
    void ReleaseTree();
    // Binds a subtree added to an attached tree and enters its names.
    void InitControls(CControlUI* control, CControlUI* parent);
    // Forgets a control that is being destroyed, wherever the manager holds it.
    void ReapObjects(CControlUI* control);
    CControlUI* GetRoot() const { return root_; }
    // True while a window is bound (removed controls must then be deleted later).
    bool IsRunning() const { return window_ != 0; }

    CControlUI* FindControl(std::string_view name) const;
    CControlUI* FindControl(UIPoint pt) const;
    // The named control as the given interface, null when missing or of another kind.
    template <typename Control>
    Control* FindControlAs(std::string_view name, std::string_view interfaceName) const
    {
        return static_cast<Control*>(FindControlInterface(name, interfaceName));
    }
    void* FindControlInterface(std::string_view name, std::string_view interfaceName) const;

    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddPostPaint(CControlUI* control);
    bool RemovePostPaint(CControlUI* control);

    void SendNotify(TNotifyEvent& msg, bool async = false, bool allowRepeat = true);
    void SendNotify(CControlUI* control, std::string_view type, uintptr_t wParam = 0, intptr_t lParam = 0,
                    bool async = false);

    bool SetTimer(CControlUI* control, uint32_t timerId, uint32_t elapseMs);
    bool KillTimer(CControlUI* control, uint32_t timerId);
    void KillTimer(CControlUI* control);

    CControlUI* GetFocus() const { return focus_; }
    void SetFocus(CControlUI* control, bool focusWnd = true);
    bool SetNextTabControl(bool forward = true);
    void ReleaseCapture();
    bool IsCaptured() const { return mouseCapture_; }
    UIPoint GetMousePos() const { return lastMouse_; }

    // Layout is redone at the next paint; the whole client area is repainted.
    void NeedUpdate();
    void Invalidate(const UIRect& rect);
    void AddMouseLeaveNeeded(CControlUI* control);
    void AddDelayedCleanup(CControlUI* control);

    // Window attributes of the skin ("size", "caption", ... and custom ones).
    void SetWindowAttribute(std::string_view name, std::string_view value);
    const std::string* GetWindowCustomAttribute(std::string_view name) const;
    UISize GetInitSize() const { return initSize_; }
    void SetInitSize(int cx, int cy);
    UIRect GetSizeBox() const { return sizeBox_; }
    void SetSizeBox(const UIRect& box) { sizeBox_ = box; }
    UIRect GetCaptionRect() const { return caption_; }
    void SetCaptionRect(const UIRect& caption) { caption_ = caption; }
    UISize GetRoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int cx, int cy) { roundCorner_ = {cx, cy}; }
    UISize GetMinInfo() const { return minInfo_; }
    void SetMinInfo(int cx, int cy) { minInfo_ = {cx, cy}; }
    UISize GetMaxInfo() const { return maxInfo_; }
    void SetMaxInfo(int cx, int cy) { maxInfo_ = {cx, cy}; }
    bool IsNoActivate() const { return noActivate_; }
    void SetNoActivate(bool noActivate) { noActivate_ = noActivate; }
    void SetShowUpdateRect(bool show) { showDirty_ = show; }
    uint8_t GetOpacity() const { return opacity_; }
    void SetOpacity(uint8_t opacity);

    uint32_t GetDefaultDisabledColor() const { return disabledColor_; }
    void SetDefaultDisabledColor(uint32_t argb) { disabledColor_ = argb; }
    uint32_t GetDefaultFontColor() const { return fontColor_; }
    void SetDefaultFontColor(uint32_t argb) { fontColor_ = argb; }
    uint32_t GetDefaultLinkFontColor() const { return linkColor_; }
    void SetDefaultLinkFontColor(uint32_t argb) { linkColor_ = argb; }
    uint32_t GetDefaultLinkHoverFontColor() const { return linkHoverColor_; }
    void SetDefaultLinkHoverFontColor(uint32_t argb) { linkHoverColor_ = argb; }
    uint32_t GetDefaultSelectedBkColor() const { return selectedColor_; }
    void SetDefaultSelectedBkColor(uint32_t argb) { selectedColor_ = argb; }

    // Resources: forwarded to the image and font tables of the skin.
    const TImageEntry* GetImageEx(std::string_view name, std::string_view type = "", uint32_t mask = 0,
                                  bool useHsl = false);
    // The font of an index (default font for -1 or an unknown index); never null.
    const PangoFontDescription* GetFontDescription(int font);
    int GetFontLineHeight(int font);
    // Size of the text laid out with style within maxWidth (0 = unlimited).
    UISize MeasureText(int font, std::string_view text, uint32_t style, int maxWidth);
    // Text with the multi-language tokens replaced.
    std::string ReplaceTokens(std::string_view text) const;
    std::string GetClipboardText() const;
    void SetClipboardText(const std::string& text) const;

    // The manager's message handling; true when the message was consumed, with its result.
    bool MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    bool PreMessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // The message loop's pre-dispatch step; true when a filter consumed the message.
    static bool TranslateMessage(const Platform::Message& message);

private:
    struct TimerInfo {
        CControlUI* control = nullptr;
        uint32_t localId = 0;
        Platform::WindowId window = 0;
        uint32_t nativeId = 0;
        bool killed = false;
    };

    Platform::WindowSystem* System() const;
    void Paint();
    void LayoutIfNeeded(const UIRect& client);
    void DeliverNotify(TNotifyEvent& msg);
    void DrainCleanup();
    void PostCleanupMessage();
    void SendEvent(CControlUI* control, UIEvent type, uintptr_t wParam = 0, intptr_t lParam = 0, uint32_t key = 0);
    void OnMouseMove(UIPoint pt, uintptr_t wParam);
    void OnButtonDown(UIPoint pt, uintptr_t wParam, UIEvent type);
    void OnButtonUp(UIPoint pt, uintptr_t wParam);
    void OnMouseHover(UIPoint pt);
    void OnMouseLeave();
    void OnMouseWheel(UIPoint screen, uintptr_t wParam);
    void OnTimer(uintptr_t nativeId);
    void OnClose();
    // The cursor the control under the pointer asks for, else the arrow.
    void UpdateCursor(CControlUI* control);
    void LeaveHover(UIPoint pt);
    UIPoint ScreenToClient(Platform::Point screen) const;
    std::vector<CControlUI*> TabOrder() const;

    CSkinResources resources_;
    std::unique_ptr<CRenderEngine> render_;
    Platform::WindowId window_ = 0;
    CControlUI* root_ = nullptr;
    CControlUI* focus_ = nullptr;
    CControlUI* hover_ = nullptr;
    CControlUI* pressed_ = nullptr;
    CControlUI* keyTarget_ = nullptr;
    UIPoint lastMouse_;

    std::vector<TimerInfo> timers_;
    uint32_t timerCounter_ = 4096;
    std::vector<INotifyUI*> notifiers_;
    std::vector<IMessageFilterUI*> preMessageFilters_;
    std::vector<IMessageFilterUI*> messageFilters_;
    std::vector<CControlUI*> postPaintControls_;
    std::map<std::string, CControlUI*, std::less<>> nameMap_;
    std::vector<CControlUI*> mouseLeaveNeeded_;
    std::vector<CControlUI*> delayedCleanup_;
    std::deque<TNotifyEvent> asyncNotify_;
    std::map<std::string, std::string, std::less<>> customAttributes_;

    bool updateNeeded_ = false;
    bool firstLayout_ = true;
    bool focusNeeded_ = false;
    bool mouseTracking_ = false;
    bool mouseCapture_ = false;
    bool asyncPosted_ = false;
    bool noActivate_ = false;
    bool showDirty_ = false;
    uint32_t hoverTime_ = 1000;

    UISize initSize_;
    UIRect sizeBox_;
    UIRect caption_;
    UISize roundCorner_;
    UISize minInfo_;
    UISize maxInfo_;
    uint8_t opacity_ = 255;
    uint32_t disabledColor_ = 0xFFA7A6AA;
    uint32_t fontColor_ = 0xFF000000;
    uint32_t linkColor_ = 0xFF0000FF;
    uint32_t linkHoverColor_ = 0xFFD3215F;
    uint32_t selectedColor_ = 0xFFBAE4FF;
};

}  // namespace SkinUI
