#include "skinui/CTextUI.h"

namespace SkinUI {

std::string_view CTextUI::GetClass() const
{
    return "Text";
}

void* CTextUI::GetInterface(std::string_view name)
{
    return name == "Text" ? static_cast<CTextUI*>(this) : CLabelUI::GetInterface(name);
}

} // namespace SkinUI
