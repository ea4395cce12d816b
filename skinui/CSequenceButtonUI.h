#pragma once

#include "skinui/CButtonUI.h"
#include "skinui/CSequenceControl.h"

namespace SkinUI {

// A button whose background plays numbered skin images, by default back and
// forth every 60 ms.
class CSequenceButtonUI : public CSequenceControl<CButtonUI> {
public:
    CSequenceButtonUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

}  // namespace SkinUI
