#pragma once

#include "skinui/CFrameSequence.h"
#include "skinui/TEventUI.h"

#include <string_view>

namespace SkinUI {

// A control of class Base whose background plays numbered skin images,
// one per tick of its timer 2100.
template <typename Base>
class CSequenceControl : public Base {
public:
    CSequenceControl(int spanMs, bool round) : sequence_(spanMs, round) {}
    ~CSequenceControl() override { this->KillTimer(CFrameSequence::kTimerId); }

    void SetAttribute(std::string_view name, std::string_view value) override
    {
        if (!sequence_.SetAttribute(name, value)) Base::SetAttribute(name, value);
    }

    void DoInit() override
    {
        Base::DoInit();
        sequence_.OnInit(*this);
    }

    // The base sees every timer first (the window hears "timer"), then the frame advances.
    void DoEvent(TEventUI& event) override
    {
        Base::DoEvent(event);
        if (event.type == UIEvent::Timer) sequence_.OnTimer(*this);
    }

    // From the first frame; a running timer keeps its rhythm.
    void Start() { sequence_.Start(*this); }

    // Pattern, count and span.
    CFrameSequence& GetSequence() { return sequence_; }

private:
    CFrameSequence sequence_;
};

}  // namespace SkinUI
