#pragma once

#include "skinui/COptionUI.h"

namespace SkinUI {

// An option under its own class name (the caption band drags the window over it).
class CCheckBoxUI : public COptionUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

} // namespace SkinUI
