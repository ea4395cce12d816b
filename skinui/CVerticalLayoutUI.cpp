#include "skinui/CVerticalLayoutUI.h"

namespace SkinUI {

std::string_view CVerticalLayoutUI::GetClass() const
{
    return "VerticalLayout";
}

void* CVerticalLayoutUI::GetInterface(std::string_view name)
{
    return name == "VerticalLayout" ? static_cast<CVerticalLayoutUI*>(this) : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(UIRect rect, bool needInvalidate)
{
    CControlUI::SetPos(rect, needInvalidate);
    LayOutInLine(true);
}

} // namespace SkinUI
