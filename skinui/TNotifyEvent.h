#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>
#include <string>

namespace SkinUI {

class CControlUI;

// One notification from a control to the window's notifiers ("click", "timer", ...).
struct TNotifyEvent {
    std::string type;
    std::string virtualWnd;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    UIPoint mouse;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

}  // namespace SkinUI
