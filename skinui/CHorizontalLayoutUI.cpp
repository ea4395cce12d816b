#include "skinui/CHorizontalLayoutUI.h"

#include <algorithm>

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
    const UIRect content = ContentRect();
    const UISize available{content.Width(), content.Height()};
    const std::vector<CControlUI*>& items = Items();

    // Measuring pass. Only a child with a "width" can be fixed: a label without one stretches
    // whatever its text width.
    int adjustables = 0;
    int fixedTotal = 0;
    int laidOut = 0;
    for (CControlUI* child : items) {
        if (!child->IsVisible() || child->IsFloat()) {
            continue;
        }
        const UIRect padding = child->GetPadding();
        int width = 0;
        if (child->GetFixedWidth() != 0) {
            width = child->EstimateSize(OfferFor(child, available.cx, available.cy - padding.top - padding.bottom)).cx;
        }
        if (width == 0) {
            ++adjustables;
        } else {
            fixedTotal += ClampWidth(child, width);
        }
        fixedTotal += padding.left + padding.right;
        ++laidOut;
    }
    fixedTotal += GetChildPadding() * std::max(0, laidOut - 1);
    const int expand = adjustables > 0 ? std::max(0, (available.cx - fixedTotal) / adjustables) : 0;

    // Placing pass: the last adjustable child absorbs the rounding remainder.
    int x = content.left;
    int remaining = available.cx;
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
        remaining -= padding.left;
        fixedRemaining -= padding.left + padding.right;
        if (placed++ > 0) {
            fixedRemaining -= GetChildPadding();
        }
        const UISize offer = OfferFor(child, remaining, available.cy - padding.top - padding.bottom);
        const int estimated = child->GetFixedWidth() != 0 ? child->EstimateSize(offer).cx : 0;
        int width = 0;
        if (estimated != 0) {
            width = ClampWidth(child, estimated);
            fixedRemaining -= width;
        } else {
            ++adjustableIndex;
            width = adjustableIndex == adjustables ? std::max(0, remaining - padding.right - fixedRemaining) : expand;
            width = ClampWidth(child, width);
        }
        const int heightLimit =
            child->GetMaxHeight() != 0 ? child->GetMaxHeight() : available.cy - padding.top - padding.bottom;
        const int height = std::max(std::max(std::min(offer.cy, heightLimit), 0), child->GetMinHeight());
        int y = content.top + padding.top;
        if (GetChildVAlign() == UIALIGN_VCENTER) {
            y = (content.top + content.bottom) / 2 - height / 2;
        } else if (GetChildVAlign() == UIALIGN_BOTTOM) {
            y = content.bottom - padding.bottom - height;
        }
        child->SetPos({x + padding.left, y, x + padding.left + width, y + height}, false);
        x += width + padding.left + padding.right + GetChildPadding();
        remaining -= width + padding.right + GetChildPadding();
    }
}

} // namespace SkinUI
