#include "skinui/CButtonUI.h"

#include "platform/WindowMessages.h"
#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"
#include "skinui/TEventUI.h"
#include "skinui/TImageEntry.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace SkinUI {

CButtonUI::CButtonUI()
{
    SetTextStyle(DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

std::string_view CButtonUI::GetClass() const
{
    return "Button";
}

void* CButtonUI::GetInterface(std::string_view name)
{
    return name == "Button" ? static_cast<CButtonUI*>(this) : CLabelUI::GetInterface(name);
}

uint32_t CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate()) {
        return false;
    }
    SendNotify("click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!enabled) {
        state_ = 0;
    }
}

void CButtonUI::DoEvent(TEventUI& event)
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
    case UIEvent::SetFocus:
    case UIEvent::KillFocus:
        Invalidate();
        break;
    case UIEvent::KeyDown:
        if (IsKeyboardEnabled() && IsEnabled() && (event.key == Platform::VK_SPACE || event.key == Platform::VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case UIEvent::ButtonDown:
    case UIEvent::DblClick:
        if (inside && IsEnabled()) {
            state_ |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEvent::MouseMove:
        if ((state_ & UISTATE_CAPTURED) != 0) {
            state_ = inside ? (state_ | UISTATE_PUSHED) : (state_ & ~UISTATE_PUSHED);
            Invalidate();
        }
        return;
    case UIEvent::ButtonUp:
        if ((state_ & UISTATE_CAPTURED) != 0) {
            if (inside && IsEnabled()) {
                Activate();
            }
            state_ &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
        }
        return;
    case UIEvent::MouseEnter:
        HandleMouseEnter(event);
        return;
    case UIEvent::MouseLeave:
        HandleMouseLeave(event);
        return;
    case UIEvent::SetCursor:
        SetCursor(IsEnabled() ? Platform::CursorKind::Hand : Platform::CursorKind::Arrow);
        return;
    case UIEvent::Timer:
        if (event.wParam == kFadeTimerId) {
            StepFade();
            return;
        }
        break;
    case UIEvent::ContextMenu:
        if (IsContextMenuUsed() && IsEnabled()) {
            SendNotify("menu", event.wParam, event.lParam);
        }
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::HandleMouseEnter(const TEventUI& event)
{
    if (GetPos().Contains(event.mouse) && IsEnabled() && (state_ & UISTATE_HOT) == 0) {
        state_ |= UISTATE_HOT;
        Invalidate();
        SendNotify("mouseenter", event.wParam, event.lParam);
    }
    StartFade();
}

void CButtonUI::HandleMouseLeave(const TEventUI& event)
{
    if (GetPos().Contains(event.mouse)) {
        if (manager_ != nullptr) {
            manager_->AddMouseLeaveNeeded(this);
        }
        return;
    }
    if (IsEnabled() && (state_ & UISTATE_HOT) != 0) {
        state_ &= ~UISTATE_HOT;
        Invalidate();
        SendNotify("mouseleave", event.wParam, event.lParam);
    }
    StartFade();
}

void CButtonUI::StartFade()
{
    if (fadeDelta_ > 0) {
        SetTimer(kFadeTimerId, kFadeIntervalMs);
    }
}

void CButtonUI::StepFade()
{
    if ((state_ & UISTATE_HOT) != 0) {
        if (fadeAlpha_ > fadeDelta_) {
            fadeAlpha_ = static_cast<uint8_t>(fadeAlpha_ - fadeDelta_);
        } else {
            fadeAlpha_ = 0;
            KillTimer(kFadeTimerId);
        }
    } else if (fadeAlpha_ < 255 - fadeDelta_) {
        fadeAlpha_ = static_cast<uint8_t>(fadeAlpha_ + fadeDelta_);
    } else {
        fadeAlpha_ = 255;
        KillTimer(kFadeTimerId);
    }
    Invalidate();
}

UISize CButtonUI::EstimateSize(UISize available)
{
    if (GetFixedHeight() != 0 || manager_ == nullptr) {
        return CControlUI::EstimateSize(available);
    }
    return {GetFixedWidth(), manager_->GetFontLineHeight(GetFont()) + 8};
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "normalimage") {
        SetNormalImage(value);
    } else if (name == "hotimage") {
        SetHotImage(value);
    } else if (name == "pushedimage") {
        SetPushedImage(value);
    } else if (name == "focusedimage") {
        SetFocusedImage(value);
    } else if (name == "disabledimage") {
        SetDisabledImage(value);
    } else if (name == "foreimage") {
        SetForeImage(value);
    } else if (name == "hotforeimage") {
        SetHotForeImage(value);
    } else if (name == "fivestatusimage") {
        SetFiveStatusImage(value);
    } else if (name == "fadedelta") {
        SetFadeAlphaDelta(static_cast<uint8_t>(std::clamp(ParseInt(value), 0, 255)));
    } else if (name == "hotbkcolor") {
        SetHotBkColor(ParseColor(value));
    } else if (name == "pushedbkcolor") {
        SetPushedBkColor(ParseColor(value));
    } else if (name == "disabledbkcolor") {
        SetDisabledBkColor(ParseColor(value));
    } else if (name == "hottextcolor") {
        SetHotTextColor(ParseColor(value));
    } else if (name == "pushedtextcolor") {
        SetPushedTextColor(ParseColor(value));
    } else if (name == "focusedtextcolor") {
        SetFocusedTextColor(ParseColor(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CButtonUI::SetNormalImage(std::string_view descriptor)
{
    SetImage(normalImage_, descriptor);
}

void CButtonUI::SetHotImage(std::string_view descriptor)
{
    SetImage(hotImage_, descriptor);
}

void CButtonUI::SetHotForeImage(std::string_view descriptor)
{
    SetImage(hotForeImage_, descriptor);
}

void CButtonUI::SetPushedImage(std::string_view descriptor)
{
    SetImage(pushedImage_, descriptor);
}

void CButtonUI::SetPushedForeImage(std::string_view descriptor)
{
    SetImage(pushedForeImage_, descriptor);
}

void CButtonUI::SetFocusedImage(std::string_view descriptor)
{
    SetImage(focusedImage_, descriptor);
}

void CButtonUI::SetDisabledImage(std::string_view descriptor)
{
    SetImage(disabledImage_, descriptor);
}

void CButtonUI::SetForeImage(std::string_view descriptor)
{
    SetImage(foreImage_, descriptor);
}

void CButtonUI::SetFiveStatusImage(std::string_view descriptor)
{
    // The frame width comes from the image, so this needs the window's image table.
    if (manager_ == nullptr) {
        return;
    }
    const CImageDescriptor::Parsed info = CImageDescriptor::Parse(descriptor);
    const TImageEntry* image = manager_->GetImageEx(info.file, info.resType, info.mask, info.hsl);
    if (image == nullptr || image->width < 5) {
        return;
    }
    const int frameWidth = image->width / 5;
    const std::array<CImageDescriptor*, 5> frames = {&normalImage_, &pushedImage_, &hotImage_, &focusedImage_,
                                                     &disabledImage_};
    for (size_t index = 0; index < frames.size(); ++index) {
        const int left = static_cast<int>(index) * frameWidth;
        char source[64];
        std::snprintf(source, sizeof(source), "' source='%d,0,%d,%d'", left, left + frameWidth, image->height);
        SetImage(*frames[index], "file='" + info.file + "' restype='" + info.resType + source);
    }
}

void CButtonUI::SetHotBkColor(uint32_t argb)
{
    SetColor(hotBkColor_, argb);
}

void CButtonUI::SetPushedBkColor(uint32_t argb)
{
    SetColor(pushedBkColor_, argb);
}

void CButtonUI::SetDisabledBkColor(uint32_t argb)
{
    SetColor(disabledBkColor_, argb);
}

void CButtonUI::SetHotTextColor(uint32_t argb)
{
    SetColor(hotTextColor_, argb);
}

void CButtonUI::SetPushedTextColor(uint32_t argb)
{
    SetColor(pushedTextColor_, argb);
}

void CButtonUI::SetFocusedTextColor(uint32_t argb)
{
    SetColor(focusedTextColor_, argb);
}

void CButtonUI::SetFadeAlphaDelta(uint8_t delta)
{
    fadeDelta_ = delta;
}

void CButtonUI::RefreshStateBits()
{
    state_ = IsFocused() ? (state_ | UISTATE_FOCUSED) : (state_ & ~UISTATE_FOCUSED);
    state_ = IsEnabled() ? (state_ & ~UISTATE_DISABLED) : (state_ | UISTATE_DISABLED);
}

void CButtonUI::FillIfSet(CRenderEngine& render, uint32_t argb)
{
    if (argb != 0) {
        render.FillColor(PaintRect(), argb);
    }
}

bool CButtonUI::DrawNormalImage(CRenderEngine& render)
{
    const bool fading = fadeDelta_ > 0 && fadeAlpha_ < 255;
    if (fading) {
        DrawImage(render, hotImage_, nullptr, static_cast<uint8_t>(255 - fadeAlpha_));
    }
    return DrawImage(render, normalImage_, nullptr, fading ? fadeAlpha_ : 255);
}

void CButtonUI::PaintStatusImage(CRenderEngine& render)
{
    RefreshStateBits();
    PaintButtonStatus(render, state_);
}

void CButtonUI::PaintButtonStatus(CRenderEngine& render, uint32_t state)
{
    if ((state & UISTATE_DISABLED) != 0) {
        FillIfSet(render, disabledBkColor_);
        if (!DrawImage(render, disabledImage_)) {
            DrawNormalImage(render);
        }
    } else if ((state & UISTATE_PUSHED) != 0) {
        FillIfSet(render, pushedBkColor_);
        if (!DrawImage(render, pushedImage_)) {
            DrawImage(render, normalImage_);
        }
        if (DrawImage(render, pushedForeImage_)) {
            return;
        }
    } else if ((state & UISTATE_HOT) != 0) {
        FillIfSet(render, hotBkColor_);
        if (fadeDelta_ == 0) {
            if (!DrawImage(render, hotImage_)) {
                DrawImage(render, normalImage_);
            }
        } else {
            DrawImage(render, normalImage_, nullptr, fadeAlpha_);
            DrawImage(render, hotImage_, nullptr, static_cast<uint8_t>(255 - fadeAlpha_));
        }
        if (DrawImage(render, hotForeImage_)) {
            return;
        }
    } else if ((state & UISTATE_FOCUSED) == 0 || !DrawImage(render, focusedImage_)) {
        DrawNormalImage(render);
    }
    DrawImage(render, foreImage_);
}

void CButtonUI::PaintText(CRenderEngine& render)
{
    RefreshStateBits();
    PaintButtonText(render, state_);
}

void CButtonUI::PaintButtonText(CRenderEngine& render, uint32_t state)
{
    const std::string text = DisplayText();
    if (text.empty()) {
        return;
    }
    uint32_t color = IsEnabled() ? EffectiveTextColor() : EffectiveDisabledTextColor();
    if ((state & UISTATE_PUSHED) != 0 && pushedTextColor_ != 0) {
        color = pushedTextColor_;
    } else if ((state & UISTATE_HOT) != 0 && hotTextColor_ != 0) {
        color = hotTextColor_;
    } else if ((state & UISTATE_FOCUSED) != 0 && focusedTextColor_ != 0) {
        color = focusedTextColor_;
    }
    DrawLabelText(render, text, color, GetTextStyle());
}

} // namespace SkinUI
