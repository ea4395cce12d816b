#pragma once

#include "skinui/CContainerUI.h"

namespace SkinUI {

// Lines its children up left to right; children without a "width" share the free space.
class CHorizontalLayoutUI : public CContainerUI {
public:
    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetPos(UIRect rect, bool needInvalidate = true) override;
};

} // namespace SkinUI
