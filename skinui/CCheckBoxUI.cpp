#include "skinui/CCheckBoxUI.h"

namespace SkinUI {

std::string_view CCheckBoxUI::GetClass() const
{
    return "CheckBox";
}

void* CCheckBoxUI::GetInterface(std::string_view name)
{
    return name == "CheckBox" ? static_cast<CCheckBoxUI*>(this) : COptionUI::GetInterface(name);
}

} // namespace SkinUI
