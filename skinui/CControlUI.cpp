#include "skinui/CControlUI.h"

#include "platform/WindowSystem.h"
#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"
#include "skinui/TEventUI.h"
#include "skinui/TImageEntry.h"
#include "skinui/TNotifyEvent.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    delete cover_;
    if (manager_ != nullptr) {
        manager_->ReapObjects(this);
    }
}

void CControlUI::Delete()
{
    delete this;
}

std::string CControlUI::GetName() const
{
    return name_;
}

void CControlUI::SetName(std::string_view name)
{
    name_ = name;
}

std::string_view CControlUI::GetClass() const
{
    return "Control";
}

void* CControlUI::GetInterface(std::string_view name)
{
    return name == "Control" ? this : nullptr;
}

uint32_t CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CManagerUI* CControlUI::GetManager() const
{
    return manager_;
}

void CControlUI::SetManager(CManagerUI* manager, CControlUI* parent, bool init)
{
    if (cover_ != nullptr) {
        cover_->SetManager(manager, this, init);
    }
    manager_ = manager;
    parent_ = parent;
    if (init && manager != nullptr) {
        Init();
    }
}

CControlUI* CControlUI::GetParent() const
{
    return parent_;
}

CControlUI* CControlUI::GetCover() const
{
    return cover_;
}

void CControlUI::SetCover(CControlUI* cover)
{
    if (cover_ == cover) {
        return;
    }
    delete cover_;
    cover_ = cover;
    if (cover_ != nullptr) {
        cover_->SetManager(manager_, this, manager_ != nullptr);
        if (IsVisible()) {
            cover_->SetPos(itemRect_, false);
        }
    }
    NeedUpdate();
}

std::string CControlUI::GetText() const
{
    return text_;
}

void CControlUI::SetText(std::string_view text)
{
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

const UIRect& CControlUI::GetPos() const
{
    return itemRect_;
}

UIRect CControlUI::GetRelativePos() const
{
    if (parent_ == nullptr) {
        return itemRect_;
    }
    const UIRect& parentRect = parent_->GetPos();
    return itemRect_.Offset(-parentRect.left, -parentRect.top);
}

UIRect CControlUI::GetClientPos() const
{
    return itemRect_;
}

void CControlUI::SetPos(UIRect rect, bool needInvalidate)
{
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    const UIRect oldRect = itemRect_;
    if (float_ && parent_ != nullptr) {
        PlaceFloating(rect);
    } else {
        itemRect_ = rect;
    }
    updateNeeded_ = false;
    if (manager_ == nullptr) {
        return;
    }
    if (needInvalidate && IsVisible()) {
        InvalidateArea(oldRect.Union(itemRect_));
    }
    if (cover_ != nullptr && cover_->IsVisible()) {
        cover_->SetPos(itemRect_, needInvalidate);
    }
}

void CControlUI::PlaceFloating(const UIRect& relative)
{
    // `relative` is inside the parent; the fixed position and size follow from it so that the
    // next layout of the parent keeps the control where it was put.
    const UIRect& parentRect = parent_->GetPos();
    itemRect_ = relative.Offset(parentRect.left, parentRect.top);
    const int width = parentRect.Width();
    const int height = parentRect.Height();
    const int percentLeft = static_cast<int>(std::floor(width * floatPercent_.left));
    const int percentTop = static_cast<int>(std::floor(height * floatPercent_.top));
    const int percentRight = static_cast<int>(std::floor(width * floatPercent_.right));
    const int percentBottom = static_cast<int>(std::floor(height * floatPercent_.bottom));
    fixedXY_ = {relative.left - percentLeft, relative.top - percentTop};
    fixedSize_ = {relative.right - percentRight - fixedXY_.cx, relative.bottom - percentBottom - fixedXY_.cy};
}

void CControlUI::Move(UISize offset, bool needInvalidate)
{
    const UIRect oldRect = itemRect_;
    itemRect_ = itemRect_.Offset(offset.cx, offset.cy);
    if (cover_ != nullptr) {
        cover_->Move(offset, false);
    }
    if (needInvalidate && IsVisible()) {
        InvalidateArea(oldRect.Union(itemRect_));
    }
}

int CControlUI::GetWidth() const
{
    return itemRect_.Width();
}

int CControlUI::GetHeight() const
{
    return itemRect_.Height();
}

int CControlUI::GetX() const
{
    return itemRect_.left;
}

int CControlUI::GetY() const
{
    return itemRect_.top;
}

UIRect CControlUI::GetPadding() const
{
    return padding_;
}

void CControlUI::SetPadding(UIRect padding)
{
    padding_ = padding;
    NeedParentUpdate();
}

UISize CControlUI::GetFixedXY() const
{
    return fixedXY_;
}

void CControlUI::SetFixedXY(UISize xy)
{
    fixedXY_ = xy;
    NeedParentUpdate();
}

CControlUI::FloatPercent CControlUI::GetFloatPercent() const
{
    return floatPercent_;
}

void CControlUI::SetFloatPercent(FloatPercent percent)
{
    floatPercent_ = percent;
    NeedParentUpdate();
}

void CControlUI::SetSizeConstraint(int& field, int value)
{
    if (value < 0 || field == value) {
        return;
    }
    field = value;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return fixedSize_.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    SetSizeConstraint(fixedSize_.cx, cx);
}

int CControlUI::GetFixedHeight() const
{
    return fixedSize_.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    SetSizeConstraint(fixedSize_.cy, cy);
}

int CControlUI::GetMinWidth() const
{
    return minSize_.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    SetSizeConstraint(minSize_.cx, cx);
}

int CControlUI::GetMaxWidth() const
{
    return maxSize_.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    SetSizeConstraint(maxSize_.cx, cx);
}

int CControlUI::GetMinHeight() const
{
    return minSize_.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    SetSizeConstraint(minSize_.cy, cy);
}

int CControlUI::GetMaxHeight() const
{
    return maxSize_.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    SetSizeConstraint(maxSize_.cy, cy);
}

std::string CControlUI::GetToolTip() const
{
    return toolTip_;
}

void CControlUI::SetToolTip(std::string_view text)
{
    toolTip_ = text;
}

void CControlUI::SetToolTipWidth(int width)
{
    toolTipWidth_ = width;
}

int CControlUI::GetToolTipWidth() const
{
    return toolTipWidth_;
}

char CControlUI::GetShortcut() const
{
    return shortcut_;
}

void CControlUI::SetShortcut(char ch)
{
    shortcut_ = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return menuUsed_;
}

void CControlUI::SetContextMenuUsed(bool used)
{
    menuUsed_ = used;
}

const std::string& CControlUI::GetUserData() const
{
    return userData_;
}

void CControlUI::SetUserData(std::string_view text)
{
    userData_ = text;
}

intptr_t CControlUI::GetTag() const
{
    return tag_;
}

void CControlUI::SetTag(intptr_t tag)
{
    tag_ = tag;
}

bool CControlUI::IsVisible() const
{
    return visible_ && internVisible_;
}

void CControlUI::SetVisible(bool visible)
{
    if (visible_ == visible) {
        return;
    }
    const bool wasVisible = IsVisible();
    visible_ = visible;
    if (!visible) {
        DropFocus();
    }
    if (cover_ != nullptr) {
        cover_->SetInternVisible(IsVisible());
    }
    if (IsVisible() != wasVisible) {
        NeedParentUpdate();
    }
}

void CControlUI::SetInternVisible(bool visible)
{
    internVisible_ = visible;
    if (!visible) {
        DropFocus();
    }
    if (cover_ != nullptr) {
        cover_->SetInternVisible(IsVisible());
    }
}

void CControlUI::DropFocus()
{
    if (manager_ != nullptr && manager_->GetFocus() == this) {
        manager_->SetFocus(nullptr);
    }
    focused_ = false;
}

bool CControlUI::IsEnabled() const
{
    return enabled_;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return mouseEnabled_;
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    mouseEnabled_ = enabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return keyboardEnabled_;
}

void CControlUI::SetKeyboardEnabled(bool enabled)
{
    keyboardEnabled_ = enabled;
}

bool CControlUI::IsFocused() const
{
    return focused_;
}

void CControlUI::SetFocus()
{
    if (manager_ != nullptr) {
        manager_->SetFocus(this);
    }
}

bool CControlUI::IsFloat() const
{
    return float_;
}

void CControlUI::SetFloat(bool isFloat)
{
    if (float_ == isFloat) {
        return;
    }
    float_ = isFloat;
    NeedParentUpdate();
}

bool CControlUI::PassesFindFilters(FindControlProc proc, void* data, uint32_t flags) const
{
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) {
        return false;
    }
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) {
        return false;
    }
    if ((flags & UIFIND_HITTEST) != 0 && !itemRect_.Contains(*static_cast<const UIPoint*>(data))) {
        return false;
    }
    // The update test skips a subtree whose root already answers.
    return (flags & UIFIND_UPDATETEST) == 0 || proc(const_cast<CControlUI*>(this), data) == nullptr;
}

CControlUI* CControlUI::FindSelf(FindControlProc proc, void* data, uint32_t flags)
{
    if ((flags & UIFIND_HITTEST) != 0 && !IsMouseEnabled()) {
        return nullptr;
    }
    return proc(this, data);
}

CControlUI* CControlUI::FindCover(FindControlProc proc, void* data, uint32_t flags)
{
    return cover_ != nullptr ? cover_->FindControl(proc, data, flags) : nullptr;
}

CControlUI* CControlUI::FindControl(FindControlProc proc, void* data, uint32_t flags)
{
    if (!PassesFindFilters(proc, data, flags)) {
        return nullptr;
    }
    CControlUI* result = (flags & UIFIND_ME_FIRST) != 0 ? FindSelf(proc, data, flags) : nullptr;
    if (result == nullptr) {
        result = FindCover(proc, data, flags);
    }
    if (result == nullptr && (flags & UIFIND_ME_FIRST) == 0) {
        result = FindSelf(proc, data, flags);
    }
    return result;
}

void CControlUI::Init()
{
    DoInit();
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event)
{
    bool handOn = true;
    for (auto& delegate : eventDelegates_) {
        handOn = delegate(event) && handOn;
    }
    if (handOn) {
        DoEvent(event);
    }
}

void CControlUI::DoEvent(TEventUI& event)
{
    switch (event.type) {
    case UIEvent::SetCursor:
        SetCursor(Platform::CursorKind::Arrow);
        return;
    case UIEvent::SetFocus:
        focused_ = true;
        Invalidate();
        return;
    case UIEvent::KillFocus:
        focused_ = false;
        Invalidate();
        return;
    case UIEvent::Timer:
        SendNotify("timer", event.wParam, event.lParam);
        return;
    case UIEvent::ContextMenu:
        if (IsContextMenuUsed()) {
            SendNotify("menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (parent_ != nullptr) {
        parent_->DoEvent(event);
    }
}

void CControlUI::SetCursor(Platform::CursorKind cursor)
{
    if (Platform::WindowSystem* system = Platform::WindowSystem::Current(); system != nullptr && manager_ != nullptr) {
        system->SetCursor(cursor);
    }
}

bool CControlUI::IsMouseEvent(const TEventUI& event)
{
    switch (event.type) {
    case UIEvent::MouseMove:
    case UIEvent::MouseLeave:
    case UIEvent::MouseEnter:
    case UIEvent::MouseHover:
    case UIEvent::ButtonDown:
    case UIEvent::ButtonUp:
    case UIEvent::DblClick:
    case UIEvent::RButtonDown:
    case UIEvent::ContextMenu:
    case UIEvent::ScrollWheel:
        return true;
    default:
        return false;
    }
}

std::string CControlUI::GetAttribute(std::string_view) const
{
    return "";
}

void CControlUI::SetFloatAttribute(std::string_view value)
{
    if (value.find(',') == std::string_view::npos) {
        SetFloat(ParseBool(value));
        return;
    }
    const std::vector<double> fractions = ParseDoubles(value, 4);
    SetFloatPercent({fractions[0], fractions[1], fractions[2], fractions[3]});
    SetFloat(true);
}

void CControlUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "pos") {
        const UIRect rect = ParseRect(value);
        SetFixedXY({rect.left, rect.top});
        SetFixedWidth(rect.right - rect.left);
        SetFixedHeight(rect.bottom - rect.top);
    } else if (name == "padding") {
        SetPadding(ParseRect(value));
    } else if (name == "bkcolor" || name == "bkcolor1") {
        SetBkColor(ParseColor(value));
    } else if (name == "bkcolor2") {
        SetBkColor2(ParseColor(value));
    } else if (name == "bkcolor3") {
        SetBkColor3(ParseColor(value));
    } else if (name == "bordercolor") {
        SetBorderColor(ParseColor(value));
    } else if (name == "focusbordercolor") {
        SetFocusBorderColor(ParseColor(value));
    } else if (name == "colorhsl") {
        SetColorHSL(ParseBool(value));
    } else if (name == "bordersize") {
        if (value.find(',') == std::string_view::npos) {
            SetBorderSize(ParseInt(value));
        } else {
            SetBorderSize(ParseRect(value));
        }
    } else if (name == "borderstyle") {
        SetBorderStyle(ParseInt(value));
    } else if (name == "borderround") {
        SetBorderRound(ParseSize(value));
    } else if (name == "bkimage") {
        SetBkImage(value);
    } else if (name == "width") {
        SetFixedWidth(ParseInt(value));
    } else if (name == "height") {
        SetFixedHeight(ParseInt(value));
    } else if (name == "minwidth") {
        SetMinWidth(ParseInt(value));
    } else if (name == "minheight") {
        SetMinHeight(ParseInt(value));
    } else if (name == "maxwidth") {
        SetMaxWidth(ParseInt(value));
    } else if (name == "maxheight") {
        SetMaxHeight(ParseInt(value));
    } else if (name == "name") {
        SetName(value);
    } else if (name == "text") {
        SetText(value);
    } else if (name == "tooltip") {
        SetToolTip(value);
    } else if (name == "userdata") {
        SetUserData(value);
    } else if (name == "tag") {
        SetTag(ParseInt(value));
    } else if (name == "enabled") {
        SetEnabled(ParseBool(value));
    } else if (name == "mouse") {
        SetMouseEnabled(ParseBool(value));
    } else if (name == "keyboard") {
        SetKeyboardEnabled(ParseBool(value));
    } else if (name == "visible") {
        SetVisible(ParseBool(value));
    } else if (name == "float") {
        SetFloatAttribute(value);
    } else if (name == "shortcut") {
        SetShortcut(value.empty() ? '\0' : value.front());
    } else if (name == "menu") {
        SetContextMenuUsed(ParseBool(value));
    } else if (name == "virtualwnd") {
        SetVirtualWnd(value);
    } else {
        AddCustomAttribute(name, value);
    }
}

std::string CControlUI::GetAttributeList() const
{
    return "";
}

void CControlUI::ApplyAttributeList(std::string_view list)
{
    size_t pos = 0;
    while (pos < list.size()) {
        const size_t equals = list.find('=', pos);
        if (equals == std::string_view::npos || equals + 1 >= list.size() || list[equals + 1] != '"') {
            return;
        }
        const size_t valueStart = equals + 2;
        const size_t closing = list.find('"', valueStart);
        if (closing == std::string_view::npos) {
            return;
        }
        SetAttribute(list.substr(pos, equals - pos), list.substr(valueStart, closing - valueStart));
        pos = closing + 1;
        if (pos >= list.size() || list[pos] != ' ') {
            return;
        }
        ++pos;
    }
}

UISize CControlUI::EstimateSize(UISize)
{
    return fixedSize_;
}

bool CControlUI::Paint(CRenderEngine& render, const UIRect& paint, CControlUI* stopControl)
{
    if (stopControl == this) {
        return false;
    }
    if (!paint.Intersects(itemRect_)) {
        return true;
    }
    for (auto& delegate : paintDelegates_) {
        if (!delegate(*this)) {
            return true;
        }
    }
    if (!DoPaint(render, paint, stopControl)) {
        return false;
    }
    return cover_ == nullptr || cover_->Paint(render, paint, stopControl);
}

bool CControlUI::DoPaint(CRenderEngine& render, const UIRect& paint, CControlUI*)
{
    paintRect_ = paint.Intersect(itemRect_);
    if (paintRect_.IsEmpty()) {
        return true;
    }
    if (borderRound_.cx > 0 || borderRound_.cy > 0) {
        render.PushClip(paintRect_);
        render.PushRoundClip(itemRect_, borderRound_);
        PaintSteps(render);
        render.PopClip();
        render.PopClip();
    } else {
        render.PushClip(paintRect_);
        PaintSteps(render);
        render.PopClip();
    }
    return true;
}

void CControlUI::PaintSteps(CRenderEngine& render)
{
    PaintBkColor(render);
    PaintBkImage(render);
    PaintStatusImage(render);
    PaintText(render);
    PaintBorder(render);
}

void CControlUI::PaintBkColor(CRenderEngine& render)
{
    if (bkColor_ == 0) {
        return;
    }
    if (bkColor2_ == 0) {
        const bool opaque = (bkColor_ >> 24) == 0xFF;
        render.FillColor(opaque ? paintRect_ : itemRect_, bkColor_);
        return;
    }
    if (bkColor3_ == 0) {
        render.Gradient(itemRect_, bkColor_, bkColor2_, true);
        return;
    }
    UIRect upper = itemRect_;
    upper.bottom = (itemRect_.top + itemRect_.bottom) / 2;
    UIRect lower = itemRect_;
    lower.top = upper.bottom;
    render.Gradient(upper, bkColor_, bkColor2_, true);
    render.Gradient(lower, bkColor2_, bkColor3_, true);
}

void CControlUI::PaintBkImage(CRenderEngine& render)
{
    DrawImage(render, bkImage_);
}

void CControlUI::PaintStatusImage(CRenderEngine&) {}

void CControlUI::PaintText(CRenderEngine&) {}

void CControlUI::PaintBorder(CRenderEngine& render)
{
    const UIRect& sides = borderSize_;
    if (sides.left <= 0 && sides.top <= 0 && sides.right <= 0 && sides.bottom <= 0) {
        return;
    }
    const uint32_t color = (focused_ && focusBorderColor_ != 0) ? focusBorderColor_ : borderColor_;
    if (color == 0) {
        return;
    }
    if (borderRound_.cx > 0 || borderRound_.cy > 0) {
        render.DrawRoundRect(itemRect_, sides.left, borderRound_, color, borderStyle_);
        return;
    }
    if (sides.left == sides.top && sides.left == sides.right && sides.left == sides.bottom) {
        render.DrawRect(itemRect_, sides.left, color, borderStyle_);
        return;
    }
    // Each side is a line of its own width lying just inside its edge.
    const UIRect& r = itemRect_;
    if (sides.left > 0) {
        const int x = r.left + sides.left / 2;
        render.DrawLine({x, r.top}, {x, r.bottom}, sides.left, color, borderStyle_);
    }
    if (sides.top > 0) {
        const int y = r.top + sides.top / 2;
        render.DrawLine({r.left, y}, {r.right, y}, sides.top, color, borderStyle_);
    }
    if (sides.right > 0) {
        const int x = r.right - (sides.right + 1) / 2;
        render.DrawLine({x, r.top}, {x, r.bottom}, sides.right, color, borderStyle_);
    }
    if (sides.bottom > 0) {
        const int y = r.bottom - (sides.bottom + 1) / 2;
        render.DrawLine({r.left, y}, {r.right, y}, sides.bottom, color, borderStyle_);
    }
}

void CControlUI::DoPostPaint(CRenderEngine&, const UIRect&) {}

void CControlUI::InvalidateArea(UIRect area)
{
    // Only the part that every ancestor shows can change on screen.
    for (CControlUI* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->GetParent()) {
        area = area.Intersect(ancestor->GetPos());
        if (area.IsEmpty()) {
            return;
        }
    }
    if (manager_ != nullptr) {
        manager_->Invalidate(area);
    }
}

void CControlUI::Invalidate()
{
    if (IsVisible()) {
        InvalidateArea(itemRect_);
    }
}

bool CControlUI::IsUpdateNeeded() const
{
    return updateNeeded_;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) {
        return;
    }
    updateNeeded_ = true;
    Invalidate();
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void CControlUI::NeedParentUpdate()
{
    if (parent_ != nullptr) {
        parent_->NeedUpdate();
        parent_->Invalidate();
    } else {
        NeedUpdate();
    }
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void CControlUI::ClearUpdateNeeded()
{
    updateNeeded_ = false;
}

bool CControlUI::SetTimer(uint32_t timerId, uint32_t elapseMs)
{
    return manager_ != nullptr && manager_->SetTimer(this, timerId, elapseMs);
}

void CControlUI::KillTimer(uint32_t timerId)
{
    if (manager_ != nullptr) {
        manager_->KillTimer(this, timerId);
    }
}

void CControlUI::KillTimers()
{
    if (manager_ != nullptr) {
        manager_->KillTimer(this);
    }
}

void CControlUI::SendNotify(std::string_view type, uintptr_t wParam, intptr_t lParam)
{
    if (manager_ != nullptr) {
        manager_->SendNotify(this, type, wParam, lParam);
    }
}

void CControlUI::AddEventDelegate(EventDelegate delegate)
{
    eventDelegates_.push_back(std::move(delegate));
}

void CControlUI::AddNotifyDelegate(NotifyDelegate delegate)
{
    notifyDelegates_.push_back(std::move(delegate));
}

void CControlUI::AddPaintDelegate(PaintDelegate delegate)
{
    paintDelegates_.push_back(std::move(delegate));
}

bool CControlUI::RunNotifyDelegates(TNotifyEvent& notify)
{
    bool handOn = true;
    for (auto& delegate : notifyDelegates_) {
        handOn = delegate(notify) && handOn;
    }
    return handOn;
}

std::string CControlUI::GetCustomAttribute(std::string_view name) const
{
    const auto found = customAttributes_.find(name);
    return found != customAttributes_.end() ? found->second : std::string();
}

void CControlUI::AddCustomAttribute(std::string_view name, std::string_view value)
{
    customAttributes_.insert_or_assign(std::string(name), std::string(value));
}

void CControlUI::RemoveCustomAttribute(std::string_view name)
{
    const auto found = customAttributes_.find(name);
    if (found != customAttributes_.end()) {
        customAttributes_.erase(found);
    }
}

void CControlUI::SetColor(uint32_t& field, uint32_t argb)
{
    if (field == argb) {
        return;
    }
    field = argb;
    Invalidate();
}

uint32_t CControlUI::GetBkColor() const
{
    return bkColor_;
}

void CControlUI::SetBkColor(uint32_t argb)
{
    SetColor(bkColor_, argb);
}

uint32_t CControlUI::GetBkColor2() const
{
    return bkColor2_;
}

void CControlUI::SetBkColor2(uint32_t argb)
{
    SetColor(bkColor2_, argb);
}

uint32_t CControlUI::GetBkColor3() const
{
    return bkColor3_;
}

void CControlUI::SetBkColor3(uint32_t argb)
{
    SetColor(bkColor3_, argb);
}

uint32_t CControlUI::GetBorderColor() const
{
    return borderColor_;
}

void CControlUI::SetBorderColor(uint32_t argb)
{
    SetColor(borderColor_, argb);
}

uint32_t CControlUI::GetFocusBorderColor() const
{
    return focusBorderColor_;
}

void CControlUI::SetFocusBorderColor(uint32_t argb)
{
    SetColor(focusBorderColor_, argb);
}

UIRect CControlUI::GetBorderSize() const
{
    return borderSize_;
}

void CControlUI::SetBorderSize(UIRect sides)
{
    borderSize_ = sides;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    SetBorderSize(UIRect{size, size, size, size});
}

int CControlUI::GetBorderStyle() const
{
    return borderStyle_;
}

void CControlUI::SetBorderStyle(int style)
{
    borderStyle_ = style;
    Invalidate();
}

UISize CControlUI::GetBorderRound() const
{
    return borderRound_;
}

void CControlUI::SetBorderRound(UISize round)
{
    borderRound_ = round;
    Invalidate();
}

const std::string& CControlUI::GetBkImage() const
{
    return bkImage_.Value();
}

void CControlUI::SetBkImage(std::string_view descriptor)
{
    SetImage(bkImage_, descriptor);
}

void CControlUI::SetImage(CImageDescriptor& image, std::string_view descriptor)
{
    if (image.Value() == descriptor) {
        return;
    }
    image.Set(descriptor);
    Invalidate();
}

bool CControlUI::IsColorHSL() const
{
    return colorHSL_;
}

void CControlUI::SetColorHSL(bool hsl)
{
    colorHSL_ = hsl;
}

const std::string& CControlUI::GetVirtualWnd() const
{
    return virtualWnd_;
}

void CControlUI::SetVirtualWnd(std::string_view name)
{
    virtualWnd_ = name;
}

bool CControlUI::DrawImage(CRenderEngine& render, CImageDescriptor& image, const UIRect* dest, uint8_t fade)
{
    if (manager_ == nullptr || image.IsEmpty()) {
        return false;
    }
    const TImageEntry* entry = image.Load(*manager_);
    if (entry == nullptr) {
        return false;
    }
    const CImageDescriptor::Parsed& info = image.Info();
    TImageDraw how;
    const UIRect* relative = dest != nullptr ? dest : (info.hasDest ? &info.dest : nullptr);
    how.dest = itemRect_;
    if (relative != nullptr) {
        how.dest = relative->Offset(itemRect_.left, itemRect_.top);
        how.dest.right = std::min(how.dest.right, itemRect_.right);
        how.dest.bottom = std::min(how.dest.bottom, itemRect_.bottom);
    }
    const UIRect whole{0, 0, entry->width, entry->height};
    how.source = info.hasSource ? info.source.Intersect(whole) : whole;
    how.corners = info.corner;
    how.alpha = entry->alpha;
    how.fade = fade != 255 ? fade : info.fade;
    how.hole = info.hole;
    how.xTiled = info.xTiled;
    how.yTiled = info.yTiled;
    if (!how.dest.IsEmpty() && !how.source.IsEmpty()) {
        render.DrawImage(*entry, paintRect_, how);
    }
    return true;
}

} // namespace SkinUI
