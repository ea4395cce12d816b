#include "skinui/COptionUI.h"

#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"

namespace SkinUI {

namespace {

struct GroupSearch {
    const COptionUI* self;
    std::string_view group;
    std::vector<COptionUI*> found;
};

CControlUI* CollectGroupMate(CControlUI* control, void* data)
{
    auto* search = static_cast<GroupSearch*>(data);
    auto* option = static_cast<COptionUI*>(control->GetInterface("Option"));
    if (option != nullptr && option != search->self && option->GetGroup() == search->group) {
        search->found.push_back(option);
    }
    return nullptr;
}

} // namespace

std::string_view COptionUI::GetClass() const
{
    return "Option";
}

void* COptionUI::GetInterface(std::string_view name)
{
    return name == "Option" ? static_cast<COptionUI*>(this) : CButtonUI::GetInterface(name);
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) {
        return false;
    }
    Selected(group_.empty() ? !selected_ : true);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!enabled) {
        state_ &= UISTATE_SELECTED;
    }
}

const std::string& COptionUI::GetGroup() const
{
    return group_;
}

void COptionUI::SetGroup(std::string_view group)
{
    group_ = group;
}

bool COptionUI::IsSelected() const
{
    return selected_;
}

std::vector<COptionUI*> COptionUI::GroupMates() const
{
    GroupSearch search{this, group_, {}};
    if (manager_ != nullptr && manager_->GetRoot() != nullptr) {
        manager_->GetRoot()->FindControl(CollectGroupMate, &search, UIFIND_ALL);
    }
    return search.found;
}

void COptionUI::Selected(bool selected, bool sendNotify)
{
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    state_ = selected ? (state_ | UISTATE_SELECTED) : (state_ & ~UISTATE_SELECTED);
    if (manager_ != nullptr) {
        if (group_.empty()) {
            if (sendNotify) {
                SendNotify("selectchanged");
            }
        } else if (selected) {
            for (COptionUI* mate : GroupMates()) {
                mate->Selected(false, sendNotify);
            }
            if (sendNotify) {
                SendNotify("selectchanged");
            }
        }
    }
    Invalidate();
}

void COptionUI::SetSelectedImage(std::string_view descriptor)
{
    SetImage(selectedImage_, descriptor);
}

void COptionUI::SetSelectedHotImage(std::string_view descriptor)
{
    SetImage(selectedHotImage_, descriptor);
}

void COptionUI::SetOptionForeImage(std::string_view descriptor)
{
    SetImage(optionForeImage_, descriptor);
}

void COptionUI::SetSelectedBkColor(uint32_t argb)
{
    SetColor(selectedBkColor_, argb);
}

void COptionUI::SetSelectedTextColor(uint32_t argb)
{
    SetColor(selectedTextColor_, argb);
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "group") {
        SetGroup(value);
    } else if (name == "selected") {
        Selected(ParseBool(value));
    } else if (name == "selectedimage") {
        SetSelectedImage(value);
    } else if (name == "selectedhotimage") {
        SetSelectedHotImage(value);
    } else if (name == "foreimage") {
        SetOptionForeImage(value);
    } else if (name == "selectedbkcolor") {
        SetSelectedBkColor(ParseColor(value));
    } else if (name == "selectedtextcolor") {
        SetSelectedTextColor(ParseColor(value));
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

bool COptionUI::PaintSelectedStatus(CRenderEngine& render)
{
    if ((state_ & UISTATE_HOT) != 0 && DrawImage(render, selectedHotImage_)) {
        return true;
    }
    if (DrawImage(render, selectedImage_)) {
        return true;
    }
    if (selectedBkColor_ != 0) {
        render.FillColor(PaintRect(), selectedBkColor_);
        return true;
    }
    return false;
}

void COptionUI::PaintStatusImage(CRenderEngine& render)
{
    RefreshStateBits();
    if (!selected_ || !PaintSelectedStatus(render)) {
        PaintButtonStatus(render, state_ & ~UISTATE_PUSHED);
    }
    DrawImage(render, optionForeImage_);
}

void COptionUI::PaintText(CRenderEngine& render)
{
    RefreshStateBits();
    if (!selected_) {
        PaintButtonText(render, state_ & ~UISTATE_PUSHED);
        return;
    }
    const std::string text = DisplayText();
    if (text.empty()) {
        return;
    }
    uint32_t color = EffectiveDisabledTextColor();
    if (IsEnabled()) {
        color = selectedTextColor_ != 0 ? selectedTextColor_ : EffectiveTextColor();
    }
    DrawLabelText(render, text, color, GetTextStyle());
}

} // namespace SkinUI
