#pragma once

#include <cstdint>

// Native message numbers of the window layer. The host speaks in the
// classic window-message vocabulary, so the numbers follow it.
namespace Platform {

inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_ENABLE = 0x000A;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr uint32_t WM_CONTEXTMENU = 0x007B;
inline constexpr uint32_t WM_NCCREATE = 0x0081;
inline constexpr uint32_t WM_NCDESTROY = 0x0082;
inline constexpr uint32_t WM_NCCALCSIZE = 0x0083;
inline constexpr uint32_t WM_NCHITTEST = 0x0084;
inline constexpr uint32_t WM_NCPAINT = 0x0085;
inline constexpr uint32_t WM_NCACTIVATE = 0x0086;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr uint32_t WM_EXITSIZEMOVE = 0x0232;
inline constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr uint32_t WM_USER = 0x0400;
inline constexpr uint32_t WM_APP = 0x8000;

// WM_SIZE kinds (wParam).
inline constexpr uintptr_t SIZE_RESTORED = 0;
inline constexpr uintptr_t SIZE_MINIMIZED = 1;
inline constexpr uintptr_t SIZE_MAXIMIZED = 2;

// WM_SYSCOMMAND commands (wParam).
inline constexpr uintptr_t SC_MINIMIZE = 0xF020;
inline constexpr uintptr_t SC_MAXIMIZE = 0xF030;
inline constexpr uintptr_t SC_CLOSE = 0xF060;
inline constexpr uintptr_t SC_RESTORE = 0xF120;

// WM_NCHITTEST answers.
inline constexpr intptr_t HTCLIENT = 1;
inline constexpr intptr_t HTCAPTION = 2;
inline constexpr intptr_t HTLEFT = 10;
inline constexpr intptr_t HTRIGHT = 11;
inline constexpr intptr_t HTTOP = 12;
inline constexpr intptr_t HTTOPLEFT = 13;
inline constexpr intptr_t HTTOPRIGHT = 14;
inline constexpr intptr_t HTBOTTOM = 15;
inline constexpr intptr_t HTBOTTOMLEFT = 16;
inline constexpr intptr_t HTBOTTOMRIGHT = 17;

// Key codes (wParam of key messages).
inline constexpr uintptr_t VK_BACK = 0x08;
inline constexpr uintptr_t VK_TAB = 0x09;
inline constexpr uintptr_t VK_RETURN = 0x0D;
inline constexpr uintptr_t VK_SHIFT = 0x10;
inline constexpr uintptr_t VK_CONTROL = 0x11;
inline constexpr uintptr_t VK_MENU = 0x12;
inline constexpr uintptr_t VK_ESCAPE = 0x1B;
inline constexpr uintptr_t VK_SPACE = 0x20;
inline constexpr uintptr_t VK_END = 0x23;
inline constexpr uintptr_t VK_HOME = 0x24;
inline constexpr uintptr_t VK_LEFT = 0x25;
inline constexpr uintptr_t VK_RIGHT = 0x27;
inline constexpr uintptr_t VK_DELETE = 0x2E;

// Key-state bits of mouse messages (wParam), of key messages (lParam: the
// modifiers held when the key was pressed or released) and of control events.
inline constexpr uint32_t MK_LBUTTON = 0x0001;
inline constexpr uint32_t MK_RBUTTON = 0x0002;
inline constexpr uint32_t MK_SHIFT = 0x0004;
inline constexpr uint32_t MK_CONTROL = 0x0008;
inline constexpr uint32_t MK_ALT = 0x0020;

// Mouse positions travel in lParam: x in the low 16 bits, y in the high 16, both signed.
inline constexpr intptr_t MakePointParam(int32_t x, int32_t y)
{
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
inline constexpr int32_t PointParamX(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline constexpr int32_t PointParamY(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

}  // namespace Platform
