#include "skinui/CTabLayoutUI.h"

#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"

#include <algorithm>

namespace SkinUI {

std::string_view CTabLayoutUI::GetClass() const
{
    return "TabLayout";
}

void* CTabLayoutUI::GetInterface(std::string_view name)
{
    return name == "TabLayout" ? static_cast<CTabLayoutUI*>(this) : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    // The child's own flag decides, not whether this layout is shown yet.
    const bool wantsShow = control != nullptr && control->IsVisible();
    if (!CContainerUI::AddAt(control, index)) {
        return false;
    }
    if (curSel_ == -1 && wantsShow) {
        curSel_ = index;
        return true;
    }
    if (curSel_ != -1 && index <= curSel_) {
        ++curSel_;
    }
    control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::RemoveAt(int index)
{
    if (!CContainerUI::RemoveAt(index)) {
        return false;
    }
    if (curSel_ == index) {
        curSel_ = GetCount() > 0 ? 0 : -1;
        if (curSel_ == 0) {
            GetItemAt(0)->SetVisible(true);
        }
        NeedParentUpdate();
    } else if (curSel_ > index) {
        --curSel_;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    curSel_ = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

int CTabLayoutUI::GetCurSel() const
{
    return curSel_;
}

bool CTabLayoutUI::SelectItem(int index, bool sendNotify)
{
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (index == curSel_) {
        return true;
    }
    const int oldSel = curSel_;
    curSel_ = index;
    for (int it = 0; it < GetCount(); ++it) {
        if (it != index) {
            GetItemAt(it)->SetVisible(false);
        }
    }
    CControlUI* selected = GetItemAt(index);
    selected->SetVisible(true);
    selected->SetFocus();
    NeedParentUpdate();
    if (manager_ != nullptr) {
        manager_->SetNextTabControl();
        if (sendNotify) {
            SendNotify("tabselect", static_cast<uintptr_t>(index), oldSel);
        }
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control, bool sendNotify)
{
    return SelectItem(GetItemIndex(control), sendNotify);
}

void CTabLayoutUI::DoInit()
{
    // Attributes are applied after a child is added, so a page may have been hidden by its
    // own "visible" after it became the selection: show the first visible page instead.
    CControlUI* selected = GetItemAt(curSel_);
    if (selected == nullptr || selected->IsVisible() || !IsVisible()) {
        return;
    }
    for (int index = 0; index < GetCount(); ++index) {
        if (GetItemAt(index)->IsVisible()) {
            curSel_ = index;
            return;
        }
    }
}

void CTabLayoutUI::SetPos(UIRect rect, bool needInvalidate)
{
    CControlUI::SetPos(rect, needInvalidate);
    const UIRect content = ContentRect();
    for (int index = 0; index < GetCount(); ++index) {
        CControlUI* child = GetItemAt(index);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloat()) {
            SetFloatPos(index);
            continue;
        }
        if (index != curSel_) {
            continue;
        }
        const UIRect area = content.Deflate(child->GetPadding());
        const UISize available{area.Width(), area.Height()};
        UISize size = child->EstimateSize(available);
        if (size.cx == 0) {
            size.cx = std::max(0, available.cx);
        }
        if (size.cy == 0) {
            size.cy = std::max(0, available.cy);
        }
        size.cx = ClampWidth(child, size.cx);
        size.cy = ClampHeight(child, size.cy);
        child->SetPos({area.left, area.top, area.left + size.cx, area.top + size.cy}, false);
    }
}

void CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "selectedid") {
        SelectItem(ParseInt(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

} // namespace SkinUI
