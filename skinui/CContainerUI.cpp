#include "skinui/CContainerUI.h"

#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"
#include "skinui/TEventUI.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

// Reads sizes, rectangles and constraints along a line layout's direction ("main") and
// across it ("cross").
struct LineAxis {
    bool vertical;

    int Main(UISize size) const { return vertical ? size.cy : size.cx; }
    int Cross(UISize size) const { return vertical ? size.cx : size.cy; }
    int Lead(const UIRect& rect) const { return vertical ? rect.top : rect.left; }
    int Trail(const UIRect& rect) const { return vertical ? rect.bottom : rect.right; }
    int CrossLead(const UIRect& rect) const { return vertical ? rect.left : rect.top; }
    int CrossTrail(const UIRect& rect) const { return vertical ? rect.right : rect.bottom; }
    UISize Size(int main, int cross) const { return vertical ? UISize{cross, main} : UISize{main, cross}; }
    UIRect Rect(int main, int cross, int mainSize, int crossSize) const
    {
        return vertical ? UIRect{cross, main, cross + crossSize, main + mainSize}
                        : UIRect{main, cross, main + mainSize, cross + crossSize};
    }
    int MinCross(const CControlUI* child) const { return vertical ? child->GetMinWidth() : child->GetMinHeight(); }
    int MaxCross(const CControlUI* child) const { return vertical ? child->GetMaxWidth() : child->GetMaxHeight(); }
};

} // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    delayedDestroy_ = false;
    RemoveAll();
}

std::string_view CContainerUI::GetClass() const
{
    return "Container";
}

void* CContainerUI::GetInterface(std::string_view name)
{
    if (name == "Container") {
        return static_cast<CContainerUI*>(this);
    }
    if (name == "IContainer") {
        return static_cast<IContainerUI*>(this);
    }
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    return items_[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    const auto found = std::find(items_.begin(), items_.end(), control);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index)
{
    const int current = GetItemIndex(control);
    if (current < 0 || index < 0 || index >= GetCount()) {
        return false;
    }
    items_.erase(items_.begin() + current);
    items_.insert(items_.begin() + index, control);
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const
{
    return static_cast<int>(items_.size());
}

bool CContainerUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (control == nullptr || control == this || index < 0 || index > GetCount() || GetItemIndex(control) >= 0) {
        return false;
    }
    items_.insert(items_.begin() + index, control);
    AdoptChild(control);
    return true;
}

void CContainerUI::AdoptChild(CControlUI* control)
{
    if (manager_ != nullptr) {
        manager_->InitControls(control, this);
    } else {
        control->SetManager(nullptr, this, false);
    }
    if (IsVisible()) {
        NeedUpdate();
    } else {
        control->SetInternVisible(false);
    }
}

bool CContainerUI::Remove(CControlUI* control)
{
    return RemoveAt(GetItemIndex(control));
}

bool CContainerUI::RemoveAt(int index)
{
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) {
        return false;
    }
    items_.erase(items_.begin() + index);
    NeedUpdate();
    ReleaseChild(control);
    return true;
}

void CContainerUI::RemoveAll()
{
    std::vector<CControlUI*> removed;
    removed.swap(items_);
    for (CControlUI* control : removed) {
        ReleaseChild(control);
    }
    NeedUpdate();
}

void CContainerUI::ReleaseChild(CControlUI* control)
{
    if (!autoDestroy_) {
        return;
    }
    // While the window runs the child may be the sender of the event being handled.
    if (delayedDestroy_ && manager_ != nullptr && manager_->IsRunning()) {
        manager_->AddDelayedCleanup(control);
    } else {
        control->Delete();
    }
}

void CContainerUI::DoEvent(TEventUI& event)
{
    if (event.type == UIEvent::SetFocus) {
        focused_ = true;
        return;
    }
    if (event.type == UIEvent::KillFocus) {
        focused_ = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    for (CControlUI* control : items_) {
        control->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (CControlUI* control : items_) {
        control->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetManager(CManagerUI* manager, CControlUI* parent, bool init)
{
    for (CControlUI* control : items_) {
        control->SetManager(manager, this, init);
    }
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, uint32_t flags)
{
    if (!PassesFindFilters(proc, data, flags)) {
        return nullptr;
    }
    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    CControlUI* result = meFirst ? FindSelf(proc, data, flags) : nullptr;
    if (result == nullptr) {
        result = FindCover(proc, data, flags);
    }
    if (result == nullptr) {
        result = FindInChildren(proc, data, flags);
    }
    if (result == nullptr && !meFirst) {
        result = FindSelf(proc, data, flags);
    }
    return result;
}

CControlUI* CContainerUI::FindInChildren(FindControlProc proc, void* data, uint32_t flags)
{
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if (hitTest && !mouseChildEnabled_) {
        return nullptr;
    }
    const UIRect content = ContentRect();
    auto search = [&](CControlUI* child) -> CControlUI* {
        CControlUI* found = child->FindControl(proc, data, flags);
        // A laid-out child only answers inside the content area; floating ones anywhere.
        if (found != nullptr && hitTest && !found->IsFloat() && !content.Contains(*static_cast<UIPoint*>(data))) {
            return nullptr;
        }
        return found;
    };
    if ((flags & UIFIND_TOP_FIRST) != 0) {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            if (CControlUI* found = search(*it)) {
                return found;
            }
        }
        return nullptr;
    }
    for (CControlUI* child : items_) {
        if (CControlUI* found = search(child)) {
            return found;
        }
    }
    return nullptr;
}

UIRect CContainerUI::GetInset() const
{
    return inset_;
}

void CContainerUI::SetInset(UIRect inset)
{
    inset_ = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return childPadding_;
}

void CContainerUI::SetChildPadding(int padding)
{
    childPadding_ = std::max(padding, 0);
    NeedUpdate();
}

int CContainerUI::GetChildAlign() const
{
    return childAlign_;
}

void CContainerUI::SetChildAlign(int align)
{
    childAlign_ = align;
    NeedUpdate();
}

int CContainerUI::GetChildVAlign() const
{
    return childVAlign_;
}

void CContainerUI::SetChildVAlign(int align)
{
    childVAlign_ = align;
    NeedUpdate();
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return mouseChildEnabled_;
}

void CContainerUI::SetMouseChildEnabled(bool enabled)
{
    mouseChildEnabled_ = enabled;
}

bool CContainerUI::IsAutoDestroy() const
{
    return autoDestroy_;
}

void CContainerUI::SetAutoDestroy(bool autoDestroy)
{
    autoDestroy_ = autoDestroy;
}

bool CContainerUI::IsDelayedDestroy() const
{
    return delayedDestroy_;
}

void CContainerUI::SetDelayedDestroy(bool delayed)
{
    delayedDestroy_ = delayed;
}

int CContainerUI::ClampWidth(const CControlUI* child, int width)
{
    // The maximum wins over a larger minimum.
    return std::min(std::max(width, child->GetMinWidth()), child->GetMaxWidth());
}

int CContainerUI::ClampHeight(const CControlUI* child, int height)
{
    return std::min(std::max(height, child->GetMinHeight()), child->GetMaxHeight());
}

UISize CContainerUI::OfferFor(const CControlUI* child, int availableWidth, int availableHeight)
{
    const int widthLimit = child->GetFixedWidth() > 0 ? child->GetFixedWidth() : child->GetMaxWidth();
    const int heightLimit = child->GetFixedHeight() > 0 ? child->GetFixedHeight() : child->GetMaxHeight();
    return {std::min(widthLimit, availableWidth), std::min(heightLimit, availableHeight)};
}

void CContainerUI::SetChildAlignAttribute(std::string_view value)
{
    if (value == "left") {
        SetChildAlign(UIALIGN_LEFT);
    } else if (value == "center") {
        SetChildAlign(UIALIGN_CENTER);
    } else if (value == "right") {
        SetChildAlign(UIALIGN_RIGHT);
    }
}

void CContainerUI::SetChildVAlignAttribute(std::string_view value)
{
    if (value == "top") {
        SetChildVAlign(UIALIGN_TOP);
    } else if (value == "vcenter") {
        SetChildVAlign(UIALIGN_VCENTER);
    } else if (value == "bottom") {
        SetChildVAlign(UIALIGN_BOTTOM);
    }
}

UIRect CContainerUI::ContentRect() const
{
    return GetPos().Deflate(inset_);
}

void CContainerUI::SetPos(UIRect rect, bool needInvalidate)
{
    CControlUI::SetPos(rect, needInvalidate);
    const UIRect content = ContentRect();
    for (int index = 0; index < GetCount(); ++index) {
        CControlUI* child = items_[static_cast<size_t>(index)];
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloat()) {
            SetFloatPos(index);
            continue;
        }
        const int width = ClampWidth(child, content.Width());
        const int height = ClampHeight(child, content.Height());
        child->SetPos({content.left, content.top, content.left + width, content.top + height}, false);
    }
}

int CContainerUI::ClampMain(const CControlUI* child, int size, bool vertical)
{
    return vertical ? ClampHeight(child, size) : ClampWidth(child, size);
}

int CContainerUI::MeasureMain(CControlUI* child, UISize offer, bool vertical)
{
    // A vertical layout trusts every height estimate; a horizontal one only the width of a
    // child with a "width" (a label without one stretches whatever its text width).
    if (vertical) {
        return child->EstimateSize(offer).cy;
    }
    return child->GetFixedWidth() != 0 ? child->EstimateSize(offer).cx : 0;
}

void CContainerUI::LayOutInLine(bool vertical)
{
    const LineAxis axis{vertical};
    const UIRect content = ContentRect();
    const UISize available{content.Width(), content.Height()};
    const int crossAlign = vertical ? childAlign_ : childVAlign_;
    const int crossCenter = vertical ? UIALIGN_CENTER : UIALIGN_VCENTER;
    const int crossEnd = vertical ? UIALIGN_RIGHT : UIALIGN_BOTTOM;
    auto crossRoom = [&](const UIRect& padding) {
        return axis.Cross(available) - axis.CrossLead(padding) - axis.CrossTrail(padding);
    };

    // Measuring pass: what the fixed children take and how many share the rest.
    int adjustables = 0;
    int fixedTotal = 0;
    int laidOut = 0;
    for (CControlUI* child : items_) {
        if (!child->IsVisible() || child->IsFloat()) {
            continue;
        }
        const UIRect padding = child->GetPadding();
        const UISize room = axis.Size(axis.Main(available), crossRoom(padding));
        const int measured = MeasureMain(child, OfferFor(child, room.cx, room.cy), vertical);
        if (measured == 0) {
            ++adjustables;
        } else {
            fixedTotal += ClampMain(child, measured, vertical);
        }
        fixedTotal += axis.Lead(padding) + axis.Trail(padding);
        ++laidOut;
    }
    fixedTotal += childPadding_ * std::max(0, laidOut - 1);
    const int expand = adjustables > 0 ? std::max(0, (axis.Main(available) - fixedTotal) / adjustables) : 0;

    // Placing pass: the last adjustable child absorbs the rounding remainder.
    int position = axis.Lead(content);
    int remaining = axis.Main(available);
    int fixedRemaining = fixedTotal;
    int adjustableIndex = 0;
    int placed = 0;
    for (int index = 0; index < GetCount(); ++index) {
        CControlUI* child = items_[static_cast<size_t>(index)];
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloat()) {
            SetFloatPos(index);
            continue;
        }
        const UIRect padding = child->GetPadding();
        const int lead = axis.Lead(padding);
        const int trail = axis.Trail(padding);
        remaining -= lead;
        fixedRemaining -= lead + trail;
        if (placed++ > 0) {
            fixedRemaining -= childPadding_;
        }
        const UISize room = axis.Size(remaining, crossRoom(padding));
        const UISize offer = OfferFor(child, room.cx, room.cy);
        const int measured = MeasureMain(child, offer, vertical);
        int mainSize = 0;
        if (measured != 0) {
            mainSize = ClampMain(child, measured, vertical);
            fixedRemaining -= mainSize;
        } else {
            ++adjustableIndex;
            mainSize = adjustableIndex == adjustables ? std::max(0, remaining - trail - fixedRemaining) : expand;
            mainSize = ClampMain(child, mainSize, vertical);
        }
        // The estimate does not size the child across the line.
        const int crossLimit = axis.MaxCross(child) != 0 ? axis.MaxCross(child) : crossRoom(padding);
        const int crossSize = std::max(std::max(std::min(axis.Cross(offer), crossLimit), 0), axis.MinCross(child));
        int cross = axis.CrossLead(content) + axis.CrossLead(padding);
        if (crossAlign == crossCenter) {
            // Centred: the child's padding across the line does not count.
            cross = (axis.CrossLead(content) + axis.CrossTrail(content)) / 2 - crossSize / 2;
        } else if (crossAlign == crossEnd) {
            cross = axis.CrossTrail(content) - axis.CrossTrail(padding) - crossSize;
        }
        child->SetPos(axis.Rect(position + lead, cross, mainSize, crossSize), false);
        position += mainSize + lead + trail + childPadding_;
        remaining -= mainSize + trail + childPadding_;
    }
}

void CContainerUI::SetFloatPos(int index)
{
    CControlUI* child = GetItemAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat()) {
        return;
    }
    const UISize xy = child->GetFixedXY();
    const CControlUI::FloatPercent percent = child->GetFloatPercent();
    const int width = GetPos().Width();
    const int height = GetPos().Height();
    auto share = [](int length, double fraction) { return static_cast<int>(std::floor(length * fraction)); };
    const UIRect relative{xy.cx + share(width, percent.left), xy.cy + share(height, percent.top),
                          xy.cx + child->GetFixedWidth() + share(width, percent.right),
                          xy.cy + child->GetFixedHeight() + share(height, percent.bottom)};
    child->SetPos(relative, false);
}

void CContainerUI::Move(UISize offset, bool needInvalidate)
{
    CControlUI::Move(offset, needInvalidate);
    for (CControlUI* child : items_) {
        child->Move(offset, false);
    }
}

bool CContainerUI::DoPaint(CRenderEngine& render, const UIRect& paint, CControlUI* stopControl)
{
    if (!paint.Intersects(GetPos())) {
        return true;
    }
    CControlUI::DoPaint(render, paint, stopControl);
    const UIRect contentPaint = paint.Intersect(ContentRect());
    const UIRect floatPaint = paint.Intersect(GetPos());
    for (CControlUI* child : items_) {
        if (child == stopControl) {
            return false;
        }
        if (!child->IsVisible()) {
            continue;
        }
        const UIRect& childPaint = child->IsFloat() ? floatPaint : contentPaint;
        if (!childPaint.Intersects(child->GetPos())) {
            continue;
        }
        if (!child->Paint(render, childPaint, stopControl)) {
            return false;
        }
    }
    return true;
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "inset") {
        SetInset(ParseRect(value));
    } else if (name == "childpadding") {
        SetChildPadding(ParseInt(value));
    } else if (name == "childalign") {
        SetChildAlignAttribute(value);
    } else if (name == "childvalign") {
        SetChildVAlignAttribute(value);
    } else if (name == "mousechild") {
        SetMouseChildEnabled(ParseBool(value));
    } else if (name == "vscrollbar" || name == "hscrollbar" || name == "vscrollbarstyle" || name == "hscrollbarstyle") {
        // Containers of this system never scroll; the values are kept for the program to read.
        AddCustomAttribute(name, value);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

} // namespace SkinUI
