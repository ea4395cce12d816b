#include "skinui/CVerticalLayoutUI.h"

#include <algorithm>

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
    const UIRect content = ContentRect();
    const UISize available{content.Width(), content.Height()};
    const std::vector<CControlUI*>& items = Items();

    // Measuring pass: what the fixed children take and how many share the rest.
    int adjustables = 0;
    int fixedTotal = 0;
    int laidOut = 0;
    for (CControlUI* child : items) {
        if (!child->IsVisible() || child->IsFloat()) {
            continue;
        }
        const UIRect padding = child->GetPadding();
        const UISize size = child->EstimateSize(
            OfferFor(child, available.cx - padding.left - padding.right, available.cy));
        if (size.cy == 0) {
            ++adjustables;
        } else {
            fixedTotal += ClampHeight(child, size.cy);
        }
        fixedTotal += padding.top + padding.bottom;
        ++laidOut;
    }
    fixedTotal += GetChildPadding() * std::max(0, laidOut - 1);
    const int expand = adjustables > 0 ? std::max(0, (available.cy - fixedTotal) / adjustables) : 0;

    // Placing pass: the last adjustable child absorbs the rounding remainder.
    int y = content.top;
    int remaining = available.cy;
    int fixedRemaining = fixedTotal;
    int adjustableIndex = 0;
    int placed = 0;
    for (int index = 0; index < GetCount(); ++index) {
        CControlUI* child = items[static_cast<size_t>(index)];
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloat()) {
            SetFloatPos(index);
            continue;
        }
        const UIRect padding = child->GetPadding();
        remaining -= padding.top;
        fixedRemaining -= padding.top + padding.bottom;
        if (placed++ > 0) {
            fixedRemaining -= GetChildPadding();
        }
        const UISize offer = OfferFor(child, available.cx - padding.left - padding.right, remaining);
        const UISize size = child->EstimateSize(offer);
        int height = 0;
        if (size.cy != 0) {
            height = ClampHeight(child, size.cy);
            fixedRemaining -= height;
        } else {
            ++adjustableIndex;
            height = adjustableIndex == adjustables ? std::max(0, remaining - padding.bottom - fixedRemaining) : expand;
            height = ClampHeight(child, height);
        }
        const int widthLimit =
            child->GetMaxWidth() != 0 ? child->GetMaxWidth() : available.cx - padding.left - padding.right;
        const int width = std::max(std::max(std::min(offer.cx, widthLimit), 0), child->GetMinWidth());
        int x = content.left + padding.left;
        if (GetChildAlign() == UIALIGN_CENTER) {
            x = (content.left + content.right) / 2 - width / 2;
        } else if (GetChildAlign() == UIALIGN_RIGHT) {
            x = content.right - padding.right - width;
        }
        child->SetPos({x, y + padding.top, x + width, y + padding.top + height}, false);
        y += height + padding.top + padding.bottom + GetChildPadding();
        remaining -= height + padding.bottom + GetChildPadding();
    }
}

} // namespace SkinUI
