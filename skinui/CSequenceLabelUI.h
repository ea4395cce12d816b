#pragma once

#include "skinui/CFrameSequence.h"
#include "skinui/CLabelUI.h"

namespace SkinUI {

// A label that plays numbered skin images as its background, one per tick
// of its timer 2100 (the finish page's check-mark animation).
class CSequenceLabelUI : public CLabelUI {
public:
    CSequenceLabelUI();
    ~CSequenceLabelUI() override;

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoInit() override;
    void DoEvent(TEventUI& event) override;

    // From the first frame; a running timer keeps its rhythm.
    void Start();

    // Pattern, count and span.
    CFrameSequence& GetSequence() { return sequence_; }

private:
    CFrameSequence sequence_;
};

}  // namespace SkinUI
