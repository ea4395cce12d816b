#include "skinui/CLabelUI.h"

#include "skinui/AttributeValue.h"
#include "skinui/CManagerUI.h"
#include "skinui/CRenderEngine.h"

#include <algorithm>
#include <array>

namespace SkinUI {

namespace {

// Markup names of the text effects of other skins; this system draws none of them.
constexpr std::array<std::string_view, 12> kTextEffectAttributes = {
    "enabledeffect", "enabledluminous", "luminousfuzzy", "gradientangle", "enabledstroke", "enabledshadow",
    "gradientlength", "shadowoffset", "textcolor1", "textshadowcolora", "textshadowcolorb", "strokecolor"};

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

} // namespace

CLabelUI::CLabelUI() : textStyle_(DT_VCENTER | DT_SINGLELINE) {}

std::string_view CLabelUI::GetClass() const
{
    return "Label";
}

void* CLabelUI::GetInterface(std::string_view name)
{
    return name == "Label" ? static_cast<CLabelUI*>(this) : CControlUI::GetInterface(name);
}

void CLabelUI::SetText(std::string_view text)
{
    if (GetText() != text) {
        InvalidateEstimate();
    }
    CControlUI::SetText(text);
}

void CLabelUI::SetFixedWidth(int cx)
{
    InvalidateEstimate();
    CControlUI::SetFixedWidth(cx);
}

void CLabelUI::SetFixedHeight(int cy)
{
    InvalidateEstimate();
    CControlUI::SetFixedHeight(cy);
}

uint32_t CLabelUI::GetTextStyle() const
{
    return textStyle_;
}

void CLabelUI::SetTextStyle(uint32_t style)
{
    textStyle_ = style;
    InvalidateEstimate();
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return font_;
}

void CLabelUI::SetFont(int index)
{
    font_ = index;
    InvalidateEstimate();
    Invalidate();
}

uint32_t CLabelUI::GetTextColor() const
{
    return textColor_;
}

void CLabelUI::SetTextColor(uint32_t argb)
{
    SetColor(textColor_, argb);
}

uint32_t CLabelUI::GetDisabledTextColor() const
{
    return disabledTextColor_;
}

void CLabelUI::SetDisabledTextColor(uint32_t argb)
{
    SetColor(disabledTextColor_, argb);
}

UIRect CLabelUI::GetTextPadding() const
{
    return textPadding_;
}

void CLabelUI::SetTextPadding(UIRect padding)
{
    textPadding_ = padding;
    InvalidateEstimate();
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return showHtml_;
}

void CLabelUI::SetShowHtml(bool showHtml)
{
    showHtml_ = showHtml;
    Invalidate();
}

UISize CLabelUI::EstimateSize(UISize available)
{
    const UISize fixed{GetFixedWidth(), GetFixedHeight()};
    if (fixed.cx > 0 && fixed.cy > 0) {
        return fixed;
    }
    if (manager_ == nullptr) {
        return fixed;
    }
    const bool singleLine = (textStyle_ & DT_SINGLELINE) != 0;
    if (!estimateValid_ || (!singleLine && available != estimateAvailable_)) {
        estimate_ = ComputeEstimate(available);
        estimateAvailable_ = available;
        estimateValid_ = true;
    }
    return estimate_;
}

UISize CLabelUI::ComputeEstimate(UISize available)
{
    UISize size{GetFixedWidth(), GetFixedHeight()};
    const std::string text = DisplayText();
    const uint32_t measureStyle = textStyle_ & ~(DT_RIGHT | DT_CENTER);
    if ((textStyle_ & DT_SINGLELINE) != 0) {
        if (size.cy == 0) {
            size.cy = manager_->GetFontLineHeight(font_) + 8 + textPadding_.top + textPadding_.bottom;
        }
        if (size.cx == 0) {
            const UISize line = manager_->MeasureText(font_, text, measureStyle, 0);
            size.cx = line.cx + textPadding_.left + textPadding_.right;
        }
        return size;
    }
    if (size.cx == 0) {
        size.cx = available.cx;
    }
    const int wrapWidth = std::max(0, size.cx - textPadding_.left - textPadding_.right);
    const UISize block = manager_->MeasureText(font_, text, measureStyle, wrapWidth);
    size.cy = block.cy + textPadding_.top + textPadding_.bottom;
    return size;
}

void CLabelUI::SetStyleBit(uint32_t bit, bool on)
{
    SetTextStyle(on ? (textStyle_ | bit) : (textStyle_ & ~bit));
}

void CLabelUI::SetAlignAttribute(std::string_view value)
{
    uint32_t style = textStyle_;
    if (Contains(value, "left")) {
        style &= ~(DT_CENTER | DT_RIGHT);
    }
    if (Contains(value, "center")) {
        style = (style & ~DT_RIGHT) | DT_CENTER;
    }
    if (Contains(value, "right")) {
        style = (style & ~DT_CENTER) | DT_RIGHT;
    }
    SetTextStyle(style);
}

void CLabelUI::SetVAlignAttribute(std::string_view value)
{
    uint32_t style = textStyle_;
    if (Contains(value, "top")) {
        style &= ~(DT_VCENTER | DT_BOTTOM);
    }
    if (Contains(value, "vcenter")) {
        style = (style & ~DT_BOTTOM) | DT_VCENTER;
    }
    if (Contains(value, "bottom")) {
        style = (style & ~DT_VCENTER) | DT_BOTTOM;
    }
    SetTextStyle(style);
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "align") {
        SetAlignAttribute(value);
    } else if (name == "valign") {
        SetVAlignAttribute(value);
    } else if (name == "endellipsis") {
        SetStyleBit(DT_END_ELLIPSIS, ParseBool(value));
    } else if (name == "font") {
        SetFont(ParseInt(value));
    } else if (name == "textcolor") {
        SetTextColor(ParseColor(value));
    } else if (name == "disabledtextcolor") {
        SetDisabledTextColor(ParseColor(value));
    } else if (name == "textpadding") {
        SetTextPadding(ParseRect(value));
    } else if (name == "multiline") {
        if (ParseBool(value)) {
            SetTextStyle((textStyle_ & ~DT_SINGLELINE) | DT_WORDBREAK);
        } else {
            SetStyleBit(DT_SINGLELINE, true);
        }
    } else if (name == "showhtml") {
        SetShowHtml(ParseBool(value));
    } else if (std::find(kTextEffectAttributes.begin(), kTextEffectAttributes.end(), name) ==
               kTextEffectAttributes.end()) {
        CControlUI::SetAttribute(name, value);
    }
}

std::string CLabelUI::DisplayText() const
{
    return manager_ != nullptr ? manager_->ReplaceTokens(GetText()) : GetText();
}

uint32_t CLabelUI::EffectiveTextColor() const
{
    if (textColor_ != 0 || manager_ == nullptr) {
        return textColor_;
    }
    return manager_->GetDefaultFontColor();
}

uint32_t CLabelUI::EffectiveDisabledTextColor() const
{
    if (disabledTextColor_ != 0 || manager_ == nullptr) {
        return disabledTextColor_;
    }
    return manager_->GetDefaultDisabledColor();
}

void CLabelUI::DrawLabelText(CRenderEngine& render, std::string_view text, uint32_t color, uint32_t style)
{
    render.DrawText(GetPos().Deflate(textPadding_), text, color, font_, style);
}

void CLabelUI::PaintText(CRenderEngine& render)
{
    const std::string text = DisplayText();
    if (text.empty()) {
        return;
    }
    const uint32_t color = IsEnabled() ? EffectiveTextColor() : EffectiveDisabledTextColor();
    UIRect textRect = GetPos().Deflate(textPadding_);
    if ((textStyle_ & ~DT_SINGLELINE) != 0) {
        // Moves the text down by the measured slack before drawing with the label's own style,
        // so a vertically centred single line sits 3/4 of the slack below the top.
        const int right = std::max(GetFixedWidth(), textRect.Width()) - textPadding_.right;
        const UIRect measureRect{textPadding_.left, 0, right, 9999};
        const int measured = render.MeasureText(measureRect, text, font_, textStyle_ | DT_CALCRECT).Height();
        const int slack = textRect.Height() - measured;
        if ((textStyle_ & ~DT_VCENTER) != 0) {
            textRect.top += std::max(0, slack / 2);
        } else if ((textStyle_ & ~DT_BOTTOM) != 0) {
            textRect.top += std::max(0, slack);
        }
    }
    render.DrawText(textRect, text, color, font_, textStyle_);
}

} // namespace SkinUI
