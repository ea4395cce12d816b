#pragma once

#include <cstdint>

namespace SkinUI {

// Sees a native message before it is handled; setting handled consumes it
// and the return value becomes the message's result.
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual intptr_t MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) = 0;
};

}  // namespace SkinUI
