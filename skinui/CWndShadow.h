#pragma once

#include "platform/WindowSystem.h"

namespace SkinUI {
class CManagerUI;
}

// The drop shadow around a skinned window. A placeholder until the shadow
// window itself is built: it remembers its owner and draws nothing.
class CWndShadow {
public:
    CWndShadow() = default;
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Reads the window's shadow attributes and attaches to it.
    void Create(Platform::WindowId owner, const SkinUI::CManagerUI& manager);
    Platform::WindowId Owner() const { return owner_; }

private:
    Platform::WindowId owner_ = 0;
};
