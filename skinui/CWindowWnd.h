#pragma once

#include "platform/WindowSystem.h"

#include <cstdint>
#include <string>

namespace SkinUI {

// Window style bits the host keeps for its windows (the X11 windows carry no frame either way).
inline constexpr uint32_t UI_WS_MAXIMIZEBOX = 0x00010000;
inline constexpr uint32_t UI_WS_MINIMIZEBOX = 0x00020000;
inline constexpr uint32_t UI_WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t UI_WS_SYSMENU = 0x00080000;
inline constexpr uint32_t UI_WS_CAPTION = 0x00C00000;
inline constexpr uint32_t UI_WS_VISIBLE = 0x10000000;
inline constexpr uint32_t UI_WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t UI_WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t UI_WS_OVERLAPPEDWINDOW = UI_WS_CAPTION | UI_WS_SYSMENU | UI_WS_THICKFRAME |
                                                   UI_WS_MINIMIZEBOX | UI_WS_MAXIMIZEBOX;

// A native top-level window bound to this object: creation, the message
// procedure, the modal loop, closing and centring.
class CWindowWnd {
public:
    CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    virtual std::string GetWindowClassName() const = 0;
    virtual std::string GetSuperClassName() const { return ""; }
    virtual uint32_t GetClassStyle() const { return 0; }
    virtual intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Called once the native window is gone; the object may delete itself here.
    virtual void OnWindowGone() {}
    virtual ~CWindowWnd();

    Platform::WindowId GetHWND() const { return hwnd_; }
    // Answers the new window, or 0 (no window system, or the window refused creation).
    Platform::WindowId Create(Platform::WindowId parent, const std::string& title, uint32_t style,
                              uint32_t exStyle, int x, int y, int width, int height);
    // Runs the modal loop until the window is gone; answers its close code.
    uint32_t ShowModal();
    void Close(uint32_t code = 0);
    void CenterWindow();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // The window icon from the program's ("ICON", id) resource (a PNG); nothing when it is missing.
    void SetIcon(int resourceId);
    intptr_t SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

    uint32_t GetStyle() const { return style_; }
    void SetStyle(uint32_t style) { style_ = style; }

    // Keeps the interface alive for about 100 ms; false when the window is
    // gone (or a quit message was taken, which is posted again).
    static bool PumpMessagesFor(Platform::WindowId window);

protected:
    // What the platform does with a message nobody handled.
    intptr_t DefWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
    intptr_t MessageProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

    Platform::WindowId hwnd_ = 0;
    uint32_t style_ = 0;
};

}  // namespace SkinUI
