#include "skinui/CSequenceButtonUI.h"

namespace SkinUI {

namespace {

constexpr int kButtonSpanMs = 60;

}  // namespace

CSequenceButtonUI::CSequenceButtonUI() : CSequenceControl(kButtonSpanMs, true) {}

std::string_view CSequenceButtonUI::GetClass() const { return "SequenceButton"; }

void* CSequenceButtonUI::GetInterface(std::string_view name)
{
    return name == "SequenceButton" ? static_cast<CSequenceButtonUI*>(this) : CButtonUI::GetInterface(name);
}

}  // namespace SkinUI
