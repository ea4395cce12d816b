#pragma once

#include "skinui/CContainerUI.h"

namespace SkinUI {

// Stacks its children top to bottom; children without a height estimate share the free space.
class CVerticalLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(UIRect rect, bool needInvalidate = true) override;
};

} // namespace SkinUI
