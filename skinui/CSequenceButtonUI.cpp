#include "skinui/CSequenceButtonUI.h"

#include "skinui/TEventUI.h"

namespace SkinUI {

namespace {

constexpr int kButtonSpanMs = 60;

}  // namespace

CSequenceButtonUI::CSequenceButtonUI() : sequence_(kButtonSpanMs, true) {}

CSequenceButtonUI::~CSequenceButtonUI() { KillTimer(CFrameSequence::kTimerId); }

std::string_view CSequenceButtonUI::GetClass() const { return "SequenceButton"; }

void* CSequenceButtonUI::GetInterface(std::string_view name)
{
    return name == "SequenceButton" ? static_cast<CSequenceButtonUI*>(this) : CButtonUI::GetInterface(name);
}

void CSequenceButtonUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (!sequence_.SetAttribute(name, value)) CButtonUI::SetAttribute(name, value);
}

void CSequenceButtonUI::DoInit()
{
    CButtonUI::DoInit();
    sequence_.OnInit(*this);
}

void CSequenceButtonUI::DoEvent(TEventUI& event)
{
    CButtonUI::DoEvent(event);
    if (event.type == UIEvent::Timer) sequence_.OnTimer(*this);
}

void CSequenceButtonUI::Start() { sequence_.Start(*this); }

}  // namespace SkinUI
