#pragma once

#include "skinui/CLabelUI.h"

namespace SkinUI {

// A label meant for text with links; this system's skins draw it as a plain label.
class CTextUI : public CLabelUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

} // namespace SkinUI
