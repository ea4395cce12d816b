#include "skinui/CSequenceLabelUI.h"

namespace SkinUI {

namespace {

constexpr int kLabelSpanMs = 30;

}  // namespace

CSequenceLabelUI::CSequenceLabelUI() : CSequenceControl(kLabelSpanMs, false) {}

std::string_view CSequenceLabelUI::GetClass() const { return "SequenceLabel"; }

void* CSequenceLabelUI::GetInterface(std::string_view name)
{
    return name == "SequenceLabel" ? static_cast<CSequenceLabelUI*>(this) : CLabelUI::GetInterface(name);
}

}  // namespace SkinUI
