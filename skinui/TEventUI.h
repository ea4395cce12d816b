#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>

namespace SkinUI {

class CControlUI;

enum class UIEvent {
    MouseMove,
    MouseLeave,
    MouseEnter,
    MouseHover,
    KeyDown,
    KeyUp,
    Char,
    KillFocus,
    SetFocus,
    ButtonDown,
    ButtonUp,
    DblClick,
    RButtonDown,
    ContextMenu,
    ScrollWheel,
    Timer,
    WindowSize,
    SetCursor,
};

// Key-state bits of an event.
inline constexpr uint16_t kKeyStateLButton = 1;
inline constexpr uint16_t kKeyStateRButton = 2;
inline constexpr uint16_t kKeyStateShift = 4;
inline constexpr uint16_t kKeyStateControl = 8;
inline constexpr uint16_t kKeyStateAlt = 32;

// What the manager hands to a control's Event for one piece of input.
struct TEventUI {
    UIEvent type = UIEvent::MouseMove;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    UIPoint mouse;
    uint32_t key = 0;  // key code for key events, the character (code point) for Char
    uint16_t keyState = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

}  // namespace SkinUI
