#include "skinui/CEditUI.h"

#include "platform/TextConversion.h"
#include "platform/WindowMessages.h"
#include "skinui/AttributeValue.h"
#include "skinui/CButtonUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"
#include "skinui/TEventUI.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace SkinUI {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLineStyle = DT_SINGLELINE | DT_VCENTER | DT_LEFT;

} // namespace

CEditUI::CEditUI()
{
    SetTextPadding({4, 3, 4, 3});
    SetBkColor(kWhite);
}

std::string_view CEditUI::GetClass() const
{
    return "Edit";
}

void* CEditUI::GetInterface(std::string_view name)
{
    return name == "Edit" ? static_cast<CEditUI*>(this) : CLabelUI::GetInterface(name);
}

uint32_t CEditUI::GetControlFlags() const
{
    return IsEnabled() ? (UIFLAG_SETCURSOR | UIFLAG_TABSTOP) : 0;
}

void CEditUI::SetText(std::string_view text)
{
    CLabelUI::SetText(text);
    if (state_.Text() != text) {
        state_.SetText(text);
        offsetsValid_ = false;
        if (editing_) {
            CaretMoved();
        }
    }
}

void CEditUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!enabled) {
        buttonState_ = 0;
        StopEditing();
    }
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    if (!IsVisible()) {
        StopEditing();
    }
}

void CEditUI::SetInternVisible(bool visible)
{
    CLabelUI::SetInternVisible(visible);
    if (!IsVisible()) {
        StopEditing();
    }
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event)) {
        if (parent_ != nullptr) {
            parent_->DoEvent(event);
        } else {
            CLabelUI::DoEvent(event);
        }
        return;
    }
    const bool inside = GetPos().Contains(event.mouse);
    switch (event.type) {
    case UIEvent::SetCursor:
        SetCursor(IsEnabled() ? Platform::CursorKind::IBeam : Platform::CursorKind::Arrow);
        return;
    case UIEvent::SetFocus:
        CLabelUI::DoEvent(event);
        if (IsEnabled()) {
            StartEditing();
        }
        return;
    case UIEvent::KillFocus:
        StopEditing();
        CLabelUI::DoEvent(event);
        return;
    case UIEvent::ButtonDown:
    case UIEvent::DblClick:
    case UIEvent::RButtonDown:
        HandleButtonDown(event);
        return;
    case UIEvent::MouseMove:
        if (selecting_ && editing_) {
            state_.MoveTo(OffsetAt(event.mouse.x), true);
            CaretMoved();
        }
        return;
    case UIEvent::ButtonUp:
        selecting_ = false;
        return;
    case UIEvent::MouseEnter:
        if (inside && IsEnabled()) {
            buttonState_ |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEvent::MouseLeave:
        if (!inside && IsEnabled()) {
            buttonState_ &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEvent::KeyDown:
        if (editing_) {
            HandleKeyDown(event);
            return;
        }
        break;
    case UIEvent::Char:
        if (editing_) {
            HandleChar(event);
            return;
        }
        break;
    case UIEvent::Timer:
        if (event.wParam == kCaretTimerId) {
            caretVisible_ = !caretVisible_;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::HandleButtonDown(const TEventUI& event)
{
    if (!IsEnabled()) {
        return;
    }
    if (manager_ != nullptr) {
        manager_->ReleaseCapture();
    }
    if (IsFocused() && !editing_) {
        StartEditing();
    }
    if (!editing_ || autoSelAll_) {
        return;
    }
    const bool extend = (event.keyState & kKeyStateShift) != 0;
    state_.MoveTo(OffsetAt(event.mouse.x), extend);
    selecting_ = event.type != UIEvent::RButtonDown;
    CaretMoved();
}

void CEditUI::HandleKeyDown(const TEventUI& event)
{
    const bool shift = (event.keyState & kKeyStateShift) != 0;
    const bool control = (event.keyState & kKeyStateControl) != 0;
    switch (event.key) {
    case Platform::VK_LEFT:
        state_.MoveLeft(shift);
        CaretMoved();
        break;
    case Platform::VK_RIGHT:
        state_.MoveRight(shift);
        CaretMoved();
        break;
    case Platform::VK_HOME:
        state_.MoveHome(shift);
        CaretMoved();
        break;
    case Platform::VK_END:
        state_.MoveEnd(shift);
        CaretMoved();
        break;
    case Platform::VK_BACK:
        CommitEdit(state_.DeleteBackward());
        break;
    case Platform::VK_DELETE:
        CommitEdit(state_.DeleteForward());
        break;
    case Platform::VK_RETURN:
        SendNotify("return");
        break;
    case 'A':
        if (control) {
            state_.SelectAll();
            CaretMoved();
        }
        break;
    case 'C':
        if (control) {
            Copy();
        }
        break;
    case 'X':
        if (control) {
            Cut();
        }
        break;
    case 'V':
        if (control) {
            Paste();
        }
        break;
    default:
        break;
    }
}

void CEditUI::HandleChar(const TEventUI& event)
{
    // Control shortcuts arrive as characters too; they were handled as keys.
    if ((event.keyState & kKeyStateControl) != 0) {
        return;
    }
    CommitEdit(state_.InsertCodePoint(event.key));
}

void CEditUI::Paste()
{
    if (manager_ != nullptr) {
        CommitEdit(state_.Insert(manager_->GetClipboardText()));
    }
}

// A password never leaves the edit.
bool CEditUI::Copy()
{
    if (manager_ == nullptr || password_ || !state_.HasSelection()) {
        return false;
    }
    manager_->SetClipboardText(state_.SelectedText());
    return true;
}

void CEditUI::Cut()
{
    if (!state_.IsReadOnly() && Copy()) {
        CommitEdit(state_.DeleteBackward());
    }
}

void CEditUI::CommitEdit(bool changed)
{
    if (changed) {
        CLabelUI::SetText(state_.Text());
        offsetsValid_ = false;
    }
    CaretMoved();
    if (changed) {
        SendNotify("textchanged");
    }
}

void CEditUI::CaretMoved()
{
    caretVisible_ = true;
    KeepCaretVisible();
    Invalidate();
}

void CEditUI::StartEditing()
{
    if (editing_) {
        return;
    }
    editing_ = true;
    state_.SetReadOnly(IsReadOnly());
    state_.SetNumberOnly(numberOnly_);
    state_.SetMaxChars(maxChar_ > 0 ? static_cast<size_t>(maxChar_) : std::numeric_limits<size_t>::max());
    state_.SetText(GetText());
    if (autoSelAll_) {
        state_.SelectAll();
    }
    scrollX_ = 0;
    offsetsValid_ = false;
    SetTimer(kCaretTimerId, kCaretBlinkMs);
    CaretMoved();
}

void CEditUI::StopEditing()
{
    if (!editing_) {
        return;
    }
    editing_ = false;
    selecting_ = false;
    scrollX_ = 0;
    KillTimer(kCaretTimerId);
    Invalidate();
}

bool CEditUI::IsEditing() const
{
    return editing_;
}

size_t CEditUI::GetCaret() const
{
    return state_.Caret();
}

size_t CEditUI::GetSelectionStart() const
{
    return state_.SelectionStart();
}

size_t CEditUI::GetSelectionEnd() const
{
    return state_.SelectionEnd();
}

void CEditUI::SetSel(size_t start, size_t end)
{
    state_.MoveTo(start, false);
    state_.MoveTo(end, true);
    CaretMoved();
}

void CEditUI::SetSelAll()
{
    state_.SelectAll();
    CaretMoved();
}

std::string CEditUI::ShownText(std::string_view text) const
{
    if (!password_) {
        return std::string(text);
    }
    return std::string(Platform::Utf8Length(text), passwordChar_);
}

UIRect CEditUI::LineRect() const
{
    UIRect line = GetPos().Deflate(GetTextPadding());
    if (manager_ == nullptr) {
        return line;
    }
    const int lineHeight = manager_->GetFontLineHeight(GetFont());
    if (lineHeight < line.Height()) {
        line.top += (line.Height() - lineHeight) / 2;
        line.bottom = line.top + lineHeight;
    }
    return line;
}

const std::vector<int>& CEditUI::BoundaryOffsets()
{
    if (offsetsValid_) {
        return boundaryOffsets_;
    }
    boundaryBytes_ = state_.Boundaries();
    boundaryOffsets_.assign(boundaryBytes_.size(), 0);
    if (manager_ != nullptr) {
        for (size_t index = 1; index < boundaryBytes_.size(); ++index) {
            const std::string prefix =
                password_ ? std::string(index, passwordChar_) : state_.Text().substr(0, boundaryBytes_[index]);
            boundaryOffsets_[index] = manager_->MeasureText(GetFont(), prefix, kLineStyle, 0).cx;
        }
    }
    offsetsValid_ = true;
    return boundaryOffsets_;
}

size_t CEditUI::OffsetAt(int x)
{
    const std::vector<int>& offsets = BoundaryOffsets();
    const int target = x - LineRect().left + scrollX_;
    size_t best = 0;
    for (size_t index = 1; index < offsets.size(); ++index) {
        if (std::abs(offsets[index] - target) < std::abs(offsets[best] - target)) {
            best = index;
        }
    }
    return boundaryBytes_[best];
}

void CEditUI::KeepCaretVisible()
{
    const std::vector<int>& offsets = BoundaryOffsets();
    const size_t index = static_cast<size_t>(
        std::lower_bound(boundaryBytes_.begin(), boundaryBytes_.end(), state_.Caret()) - boundaryBytes_.begin());
    const int caretX = offsets[std::min(index, offsets.size() - 1)];
    const int width = std::max(1, LineRect().Width());
    if (caretX - scrollX_ > width - 1) {
        scrollX_ = caretX - width + 1;
    }
    if (caretX < scrollX_) {
        scrollX_ = caretX;
    }
    // Scrolled past the end after a deletion: show as much of the text as fits.
    scrollX_ = std::max(0, std::min(scrollX_, offsets.back() - width + 1));
}

void CEditUI::PaintStatusImage(CRenderEngine& render)
{
    buttonState_ = IsFocused() ? (buttonState_ | UISTATE_FOCUSED) : (buttonState_ & ~UISTATE_FOCUSED);
    buttonState_ = IsEnabled() ? (buttonState_ & ~UISTATE_DISABLED) : (buttonState_ | UISTATE_DISABLED);
    if ((buttonState_ & UISTATE_DISABLED) != 0) {
        if (DrawImage(render, disabledImage_)) {
            return;
        }
    } else if ((buttonState_ & UISTATE_FOCUSED) != 0) {
        if (DrawImage(render, focusedImage_)) {
            return;
        }
    } else if ((buttonState_ & UISTATE_HOT) != 0) {
        if (DrawImage(render, hotImage_)) {
            return;
        }
    }
    DrawImage(render, normalImage_);
}

void CEditUI::PaintText(CRenderEngine& render)
{
    if (editing_) {
        PaintEditingText(render);
        return;
    }
    const std::string& text = GetText();
    if (text.empty()) {
        if (!tipValue_.empty()) {
            const std::string tip = manager_ != nullptr ? manager_->ReplaceTokens(tipValue_) : tipValue_;
            DrawLabelText(render, tip, tipValueColor_, GetTextStyle() | DT_SINGLELINE);
        }
        return;
    }
    const uint32_t color = IsEnabled() ? EffectiveTextColor() : EffectiveDisabledTextColor();
    DrawLabelText(render, ShownText(text), color, GetTextStyle() | DT_SINGLELINE);
}

void CEditUI::PaintEditingText(CRenderEngine& render)
{
    const UIRect line = LineRect();
    const std::vector<int>& offsets = BoundaryOffsets();
    auto xOf = [&](size_t byteOffset) {
        const auto found = std::lower_bound(boundaryBytes_.begin(), boundaryBytes_.end(), byteOffset);
        const size_t index = std::min(static_cast<size_t>(found - boundaryBytes_.begin()), offsets.size() - 1);
        return line.left - scrollX_ + offsets[index];
    };
    render.FillColor(line, nativeBkColor_ != 0 ? nativeBkColor_ : kWhite);
    render.PushClip(line);
    if (state_.HasSelection() && manager_ != nullptr) {
        render.FillColor({xOf(state_.SelectionStart()), line.top, xOf(state_.SelectionEnd()), line.bottom},
                         manager_->GetDefaultSelectedBkColor());
    }
    const uint32_t color = nativeTextColor_ != 0 ? nativeTextColor_ : EffectiveTextColor();
    const int textLeft = line.left - scrollX_;
    render.DrawText({textLeft, line.top, textLeft + offsets.back() + line.Width(), line.bottom},
                    ShownText(state_.Text()), color, GetFont(), kLineStyle);
    if (caretVisible_) {
        const int caretX = xOf(state_.Caret());
        render.FillColor({caretX, line.top, caretX + 1, line.bottom}, color | 0xFF000000);
    }
    render.PopClip();
}

bool CEditUI::IsReadOnly() const
{
    return state_.IsReadOnly();
}

void CEditUI::SetReadOnly(bool readOnly)
{
    state_.SetReadOnly(readOnly);
    Invalidate();
}

bool CEditUI::IsNumberOnly() const
{
    return numberOnly_;
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    numberOnly_ = numberOnly;
    state_.SetNumberOnly(numberOnly);
}

bool CEditUI::IsPasswordMode() const
{
    return password_;
}

void CEditUI::SetPasswordMode(bool password)
{
    password_ = password;
    offsetsValid_ = false;
    Invalidate();
}

char CEditUI::GetPasswordChar() const
{
    return passwordChar_;
}

void CEditUI::SetPasswordChar(char ch)
{
    passwordChar_ = ch;
    offsetsValid_ = false;
    Invalidate();
}

bool CEditUI::IsAutoSelAll() const
{
    return autoSelAll_;
}

void CEditUI::SetAutoSelAll(bool autoSelAll)
{
    autoSelAll_ = autoSelAll;
}

int CEditUI::GetMaxChar() const
{
    return maxChar_;
}

void CEditUI::SetMaxChar(int maxChars)
{
    // 0 (or less) lifts the limit, as for the platform's edit controls.
    maxChar_ = maxChars;
    state_.SetMaxChars(maxChars > 0 ? static_cast<size_t>(maxChars) : std::numeric_limits<size_t>::max());
}

const std::string& CEditUI::GetTipValue() const
{
    return tipValue_;
}

void CEditUI::SetTipValue(std::string_view tip)
{
    tipValue_ = tip;
    Invalidate();
}

uint32_t CEditUI::GetTipValueColor() const
{
    return tipValueColor_;
}

void CEditUI::SetTipValueColor(uint32_t argb)
{
    SetColor(tipValueColor_, argb);
}

uint32_t CEditUI::GetNativeEditBkColor() const
{
    return nativeBkColor_;
}

void CEditUI::SetNativeEditBkColor(uint32_t argb)
{
    SetColor(nativeBkColor_, argb);
}

uint32_t CEditUI::GetNativeEditTextColor() const
{
    return nativeTextColor_;
}

void CEditUI::SetNativeEditTextColor(uint32_t argb)
{
    SetColor(nativeTextColor_, argb);
}

void CEditUI::SetNormalImage(std::string_view descriptor)
{
    SetImage(normalImage_, descriptor);
}

void CEditUI::SetHotImage(std::string_view descriptor)
{
    SetImage(hotImage_, descriptor);
}

void CEditUI::SetFocusedImage(std::string_view descriptor)
{
    SetImage(focusedImage_, descriptor);
}

void CEditUI::SetDisabledImage(std::string_view descriptor)
{
    SetImage(disabledImage_, descriptor);
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "readonly") {
        SetReadOnly(ParseBool(value));
    } else if (name == "numberonly") {
        SetNumberOnly(ParseBool(value));
    } else if (name == "password") {
        SetPasswordMode(ParseBool(value));
    } else if (name == "autoselall") {
        SetAutoSelAll(ParseBool(value));
    } else if (name == "maxchar") {
        SetMaxChar(ParseInt(value));
    } else if (name == "normalimage") {
        SetNormalImage(value);
    } else if (name == "hotimage") {
        SetHotImage(value);
    } else if (name == "focusedimage") {
        SetFocusedImage(value);
    } else if (name == "disabledimage") {
        SetDisabledImage(value);
    } else if (name == "tipvalue") {
        SetTipValue(value);
    } else if (name == "tipvaluecolor") {
        SetTipValueColor(ParseColor(value));
    } else if (name == "nativetextcolor") {
        SetNativeEditTextColor(ParseColor(value));
    } else if (name == "nativebkcolor") {
        SetNativeEditBkColor(ParseColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

} // namespace SkinUI
