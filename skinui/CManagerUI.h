#pragma once

#include "platform/WindowSystem.h"
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

    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return root_; }
    // True while a window is bound (removed controls must then be deleted later).
    bool IsRunning() const { return window_ != 0; }

    CControlUI* FindControl(std::string_view name) const;
    CControlUI* FindControl(UIPoint pt) const;

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

    // The manager's message handling; true when the message was consumed, with its result.
    bool MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    bool PreMessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // The message loop's pre-dispatch step; true when a filter consumed the message.
    static bool TranslateMessage(const Platform::Message& message);

private:
    struct TimerInfo;
    class Impl;
    std::unique_ptr<Impl> impl_;

    Platform::WindowId window_ = 0;
    CControlUI* root_ = nullptr;
    CControlUI* focus_ = nullptr;
    CControlUI* hover_ = nullptr;
    CControlUI* pressed_ = nullptr;
    CControlUI* keyTarget_ = nullptr;
    UIPoint lastMouse_;
    bool mouseCapture_ = false;

    UISize initSize_;
    UIRect sizeBox_;
    UIRect caption_;
    UISize roundCorner_;
    UISize minInfo_;
    UISize maxInfo_;
    bool noActivate_ = false;
    bool showDirty_ = false;
    uint8_t opacity_ = 255;
    uint32_t disabledColor_ = 0xFFA7A6AA;
    uint32_t fontColor_ = 0xFF000000;
    uint32_t linkColor_ = 0xFF0000FF;
    uint32_t linkHoverColor_ = 0xFFD3215F;
    uint32_t selectedColor_ = 0xFFBAE4FF;
};

}  // namespace SkinUI
