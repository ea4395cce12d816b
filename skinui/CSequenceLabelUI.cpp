#include "skinui/CSequenceLabelUI.h"

#include "skinui/TEventUI.h"

namespace SkinUI {

namespace {

constexpr int kLabelSpanMs = 30;

}  // namespace

CSequenceLabelUI::CSequenceLabelUI() : sequence_(kLabelSpanMs, false) {}

CSequenceLabelUI::~CSequenceLabelUI() { KillTimer(CFrameSequence::kTimerId); }

std::string_view CSequenceLabelUI::GetClass() const { return "SequenceLabel"; }

void* CSequenceLabelUI::GetInterface(std::string_view name)
{
    return name == "SequenceLabel" ? static_cast<CSequenceLabelUI*>(this) : CLabelUI::GetInterface(name);
}

void CSequenceLabelUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (!sequence_.SetAttribute(name, value)) CLabelUI::SetAttribute(name, value);
}

void CSequenceLabelUI::DoInit()
{
    CLabelUI::DoInit();
    sequence_.OnInit(*this);
}

void CSequenceLabelUI::DoEvent(TEventUI& event)
{
    CLabelUI::DoEvent(event);
    if (event.type == UIEvent::Timer) sequence_.OnTimer(*this);
}

void CSequenceLabelUI::Start() { sequence_.Start(*this); }

}  // namespace SkinUI
