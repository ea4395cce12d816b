#pragma once

#include "platform/WindowSystemBase.h"

#include <map>
#include <memory>
#include <string>

typedef struct _XDisplay Display;
union _XEvent;

namespace Platform {

// The window layer on Xlib with the Shape extension: skinned top-level
// windows without decorations, owners as transient-for, rounded bounding
// shapes, ARGB click-through windows, one loop over the X connection and
// the queue's eventfd, caption dragging, capture as a pointer grab, a
// tooltip window, and presentation with XPutImage.
class X11WindowSystem : public WindowSystemBase {
public:
    // Connects to $DISPLAY; null when no display can be opened.
    static std::unique_ptr<X11WindowSystem> Open();
    ~X11WindowSystem() override;

    Rect GetWorkArea(WindowId window) const override;
    bool SupportsTranslucentWindows() const override;
    uint32_t GetKeyState() const override { return keyState_; }
    Point GetCursorPos() const override;
    void SetCursor(CursorKind cursor) override;
    void TrackMouse(WindowId window, uint32_t hoverMs) override;
    void ShowTooltip(WindowId window, const std::string& text, Point screen) override;
    void HideTooltip() override;
    void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride,
                 const Rect& part) override;
    std::string GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void SetIcon(WindowId window, const uint32_t* pixels, int width, int height) override;
    // Shown with zenity when it is installed; always written to standard error.
    void ShowErrorMessage(const std::string& text, const std::string& caption) override;

    // The X window id behind a window (for tools and tests), 0 when none.
    unsigned long NativeHandle(WindowId window) const;

protected:
    bool NativeCreate(WindowId window, const WindowParams& params) override;
    void NativeDestroy(WindowId window) override;
    void NativeShow(WindowId window, bool visible, bool activate) override;
    void NativeMove(WindowId window, const Rect& rect) override;
    void NativeRegion(WindowId window, const Rect& rect, Size ellipse) override;
    void NativeTitle(WindowId window, const std::string& title) override;
    void NativeOpacity(WindowId window, uint8_t opacity) override;
    void NativeFocus(WindowId window) override;
    void NativeCapture(WindowId window) override;
    void WaitForEvents(int timeoutMs) override;

private:
    struct Native;
    struct Drag {
        WindowId window = 0;
        Point grabOffset;
    };
    struct Tracking {
        WindowId window = 0;
        uint32_t hoverMs = 0;
        uint32_t hoverDue = 0;
        bool hoverSent = false;
    };

    explicit X11WindowSystem(Display* display);
    WindowId FromNative(unsigned long xid) const;
    void HandleEvent(union _XEvent& event);
    void HandleButton(WindowId window, const union _XEvent& event);
    void HandleMotion(WindowId window, const union _XEvent& event);
    void HandleKey(WindowId window, union _XEvent& event);
    void HandleConfigure(WindowId window, const union _XEvent& event);
    void HandleSelection(const union _XEvent& event);
    void PostMouse(WindowId window, uint32_t message, uintptr_t wParam, int x, int y);
    void CheckHover();
    int HoverTimeout() const;
    unsigned long Intern(const char* name) const;

    Display* display_;
    std::map<WindowId, std::unique_ptr<Native>> natives_;
    Drag drag_;
    Tracking tracking_;
    uint32_t keyState_ = 0;
    uint32_t lastClickTime_ = 0;
    Point lastClickPos_;
    WindowId pointerWindow_ = 0;
    unsigned long tooltip_ = 0;
    unsigned long helper_ = 0;  // owns the clipboard and receives what is asked of it
    std::string clipboard_;     // what this process offers while it owns the clipboard
    unsigned long cursors_[3] = {0, 0, 0};
};

}  // namespace Platform
