#pragma once

#include "skinui/CButtonUI.h"
#include "skinui/CFrameSequence.h"

namespace SkinUI {

// A button whose background plays numbered skin images on its timer 2100,
// by default back and forth every 60 ms.
class CSequenceButtonUI : public CButtonUI {
public:
    CSequenceButtonUI();
    ~CSequenceButtonUI() override;

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
