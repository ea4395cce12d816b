#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Platform {

// 0 names no window.
using WindowId = uint64_t;

struct Message {
    WindowId window = 0;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// A window's message procedure; it is called on the user-interface thread only.
using WindowProc = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

struct WindowParams {
    WindowId owner = 0;      // kept above its owner (transient-for)
    std::string title;
    Rect rect;               // screen position and size
    bool translucent = false;  // per-pixel alpha visual (the shadow)
    bool clickThrough = false; // empty input shape (the shadow)
};

enum class ShowMode { Hide, Normal, NoActivate, Minimize, Maximize, Restore };
enum class CursorKind { Arrow, Hand, IBeam };

// The narrow window layer the host talks to: top-level windows, one
// message queue for the user-interface thread, timers, capture, focus,
// regions and the presentation of painted bitmaps. Everything except
// PostMessage and PostQuitMessage belongs to the user-interface thread.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // The back end chosen at start-up; the first call without a Select picks
    // it from the environment ("NUVALO_WINDOW_SYSTEM=headless", else X11).
    // Answers null when no back end could be started (no display).
    static WindowSystem* Current();
    static void Select(std::unique_ptr<WindowSystem> system);

    // Sends WM_NCCREATE (lParam = the new window's id), WM_CREATE and WM_SIZE
    // to proc before it returns.
    // Answers 0 when the window cannot be made or WM_NCCREATE answers 0.
    virtual WindowId CreateWindow(const WindowParams& params, WindowProc proc) = 0;
    // Sends WM_DESTROY and WM_NCDESTROY, then forgets the window.
    virtual void DestroyWindow(WindowId window) = 0;
    virtual bool IsWindow(WindowId window) const = 0;
    virtual WindowId GetOwner(WindowId window) const = 0;

    virtual void ShowWindow(WindowId window, ShowMode mode) = 0;
    virtual bool IsVisible(WindowId window) const = 0;
    virtual bool IsMinimized(WindowId window) const = 0;
    virtual bool IsMaximized(WindowId window) const = 0;
    // Screen rectangle of the whole window; a size change sends WM_SIZE.
    virtual void MoveWindow(WindowId window, const Rect& rect) = 0;
    virtual Rect GetWindowRect(WindowId window) const = 0;
    // The usable part of the screen holding the window (the whole screen for 0).
    virtual Rect GetWorkArea(WindowId window) const = 0;
    // Rounded-rectangle shape (0,0)-(width+1,height+1) with the given ellipse;
    // an ellipse of 0,0 restores the plain rectangle.
    virtual void SetRoundRegion(WindowId window, Size ellipse) = 0;
    virtual void SetTitle(WindowId window, const std::string& title) = 0;
    virtual void SetOpacity(WindowId window, uint8_t opacity) = 0;
    // Per-pixel alpha windows are shown blended over what lies below them
    // (on X11: a compositing manager runs and a 32-bit visual exists).
    virtual bool SupportsTranslucentWindows() const = 0;
    // The window's icon from premultiplied B,G,R,A pixels (top-down, width words per row).
    virtual void SetIcon(WindowId window, const uint32_t* pixels, int width, int height) = 0;

    virtual void EnableWindow(WindowId window, bool enable) = 0;
    virtual bool IsWindowEnabled(WindowId window) const = 0;
    virtual void SetFocus(WindowId window) = 0;
    virtual WindowId GetFocus() const = 0;
    virtual WindowId GetActiveWindow() const = 0;
    virtual void SetCapture(WindowId window) = 0;
    virtual void ReleaseCapture() = 0;
    virtual WindowId GetCapture() const = 0;
    // MK_SHIFT, MK_CONTROL and MK_ALT of the modifiers held at the last input.
    virtual uint32_t GetKeyState() const = 0;
    // Pointer position in screen coordinates.
    virtual Point GetCursorPos() const = 0;
    virtual void SetCursor(CursorKind cursor) = 0;
    // Asks for one WM_MOUSEHOVER after hoverMs without movement and a
    // WM_MOUSELEAVE when the pointer leaves the window.
    virtual void TrackMouse(WindowId window, uint32_t hoverMs) = 0;
    virtual void ShowTooltip(WindowId window, const std::string& text, Point screen) = 0;
    virtual void HideTooltip() = 0;

    // WM_TIMER with wParam = id every intervalMs; setting an existing id
    // restarts it with the new interval.
    virtual bool SetTimer(WindowId window, uint32_t id, uint32_t intervalMs) = 0;
    virtual void KillTimer(WindowId window, uint32_t id) = 0;

    // Thread-safe; wakes a waiting GetMessage.
    virtual void PostMessage(const Message& message) = 0;
    // Thread-safe: GetMessage answers false with wParam = exitCode once the
    // messages posted before it are taken.
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Waits for the next message; false for the quit message.
    bool GetMessage(Message& message) { return WaitMessage(message, -1) == Wait::Message; }
    enum class Wait { Message, Quit, TimedOut };
    // Waits at most timeoutMs (-1 = no limit) for the next message.
    virtual Wait WaitMessage(Message& message, int timeoutMs) = 0;
    // Calls the target window's procedure; messages for gone windows are dropped.
    virtual intptr_t DispatchMessage(const Message& message) = 0;

    // Marks part of the client area for a later WM_PAINT.
    virtual void Invalidate(WindowId window, const Rect& rect) = 0;
    // The area marked since the last call, cleared (what WM_PAINT repaints).
    virtual Rect TakeUpdateRect(WindowId window) = 0;
    // Copies the part of a premultiplied B,G,R,A bitmap (top-down,
    // stride in bytes) to the same place of the client area.
    virtual void Present(WindowId window, const uint32_t* pixels, int width, int height, int stride,
                         const Rect& part) = 0;

    // An error message box (the text and caption of a failed start); returns when it is dismissed.
    virtual void ShowErrorMessage(const std::string& text, const std::string& caption) = 0;
    // Text of the clipboard (UTF-8), "" when there is none.
    virtual std::string GetClipboardText() = 0;
    // Puts text (UTF-8) on the clipboard, offered for as long as this process holds it.
    virtual void SetClipboardText(const std::string& text) = 0;

    // Milliseconds of a monotonic clock.
    virtual uint32_t TickCount() const = 0;
};

}  // namespace Platform
