#include "skinui/CHorizontalLayoutUI.h"

namespace SkinUI {

std::string_view CHorizontalLayoutUI::GetClass() const
{
    return "HorizontalLayout";
}

void* CHorizontalLayoutUI::GetInterface(std::string_view name)
{
    return name == "HorizontalLayout" ? static_cast<CHorizontalLayoutUI*>(this) : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(UIRect rect, bool needInvalidate)
{
    CControlUI::SetPos(rect, needInvalidate);
    LayOutInLine(false);
}

} // namespace SkinUI
