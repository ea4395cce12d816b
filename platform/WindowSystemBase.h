#pragma once

#include "platform/MessageQueue.h"
#include "platform/WindowSystem.h"

#include <map>
#include <memory>

namespace Platform {

// What both back ends share: the window records, the message queue and
// loop, timers, enabled state, focus, capture and invalid areas. A back end
// supplies the native side through the hooks.
class WindowSystemBase : public WindowSystem {
public:
    WindowSystemBase();
    ~WindowSystemBase() override;

    WindowId CreateWindow(const WindowParams& params, WindowProc proc) override;
    void DestroyWindow(WindowId window) override;
    bool IsWindow(WindowId window) const override;
    WindowId GetOwner(WindowId window) const override;
    void ShowWindow(WindowId window, ShowMode mode) override;
    bool IsVisible(WindowId window) const override;
    bool IsMinimized(WindowId window) const override;
    bool IsMaximized(WindowId window) const override;
    void MoveWindow(WindowId window, const Rect& rect) override;
    Rect GetWindowRect(WindowId window) const override;
    void SetRoundRegion(WindowId window, Size ellipse) override;
    void SetTitle(WindowId window, const std::string& title) override;
    void SetOpacity(WindowId window, uint8_t opacity) override;
    void EnableWindow(WindowId window, bool enable) override;
    bool IsWindowEnabled(WindowId window) const override;
    void SetFocus(WindowId window) override;
    WindowId GetFocus() const override { return focus_; }
    WindowId GetActiveWindow() const override { return active_; }
    void SetCapture(WindowId window) override;
    void ReleaseCapture() override;
    WindowId GetCapture() const override { return capture_; }
    bool SetTimer(WindowId window, uint32_t id, uint32_t intervalMs) override;
    void KillTimer(WindowId window, uint32_t id) override;
    void PostMessage(const Message& message) override;
    void PostQuitMessage(int exitCode) override;
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    Wait WaitMessage(Message& message, int timeoutMs) override;
    intptr_t DispatchMessage(const Message& message) override;
    void Invalidate(WindowId window, const Rect& rect) override;
    Rect TakeUpdateRect(WindowId window) override;
    uint32_t TickCount() const override { return MessageQueue::TickCount(); }

protected:
    struct WindowRecord {
        WindowProc proc;
        WindowParams params;
        Rect rect;
        Rect restoreRect;
        Size roundRegion;
        bool visible = false;
        bool minimized = false;
        bool maximized = false;
        bool enabled = true;
        Rect invalid;
    };

    const WindowRecord* Find(WindowId window) const;
    WindowRecord* Find(WindowId window);
    // Stores the visible flag; a change sends WM_SHOWWINDOW.
    void SetVisible(WindowId window, bool visible);
    // Changes the keyboard focus and the active window, telling both windows.
    void MoveFocus(WindowId window);
    // Stores a new rectangle (moving the native window unless it moved
    // already); a size change sends WM_SIZE of the given kind.
    void ApplyRect(WindowId window, const Rect& rect, uintptr_t sizeKind, bool moveNative = true);
    MessageQueue& Queue() { return queue_; }
    const MessageQueue& Queue() const { return queue_; }

    virtual bool NativeCreate(WindowId window, const WindowParams& params) = 0;
    virtual void NativeDestroy(WindowId window) = 0;
    virtual void NativeShow(WindowId window, bool visible, bool activate) = 0;
    virtual void NativeMove(WindowId window, const Rect& rect) = 0;
    virtual void NativeRegion(WindowId window, const Rect& rect, Size ellipse) = 0;
    virtual void NativeTitle(WindowId window, const std::string& title) = 0;
    virtual void NativeOpacity(WindowId window, uint8_t opacity) = 0;
    virtual void NativeFocus(WindowId window) = 0;
    virtual void NativeCapture(WindowId window) = 0;
    // Waits up to timeoutMs (-1 = no limit) for posted messages or native
    // events, turning native events into posted messages.
    virtual void WaitForEvents(int timeoutMs) = 0;

private:
    bool TakeInvalidWindow(Message& message);

    MessageQueue queue_;
    std::map<WindowId, std::unique_ptr<WindowRecord>> windows_;
    WindowId nextId_ = 1;
    WindowId focus_ = 0;
    WindowId active_ = 0;
    WindowId capture_ = 0;
};

}  // namespace Platform
