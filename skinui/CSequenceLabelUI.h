#pragma once

#include "skinui/CLabelUI.h"
#include "skinui/CSequenceControl.h"

namespace SkinUI {

// A label that plays numbered skin images as its background every 30 ms by
// default (the finish page's check-mark animation).
class CSequenceLabelUI : public CSequenceControl<CLabelUI> {
public:
    CSequenceLabelUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
};

}  // namespace SkinUI
