#include "skinui/CProgressUI.h"

#include "skinui/AttributeValue.h"
#include "skinui/CRenderEngine.h"

#include <algorithm>

namespace SkinUI {

CProgressUI::CProgressUI()
{
    SetTextStyle(DT_SINGLELINE | DT_CENTER);
    SetFixedHeight(12);
}

std::string_view CProgressUI::GetClass() const
{
    return "Progress";
}

void* CProgressUI::GetInterface(std::string_view name)
{
    return name == "Progress" ? static_cast<CProgressUI*>(this) : CLabelUI::GetInterface(name);
}

bool CProgressUI::IsHorizontal() const
{
    return horizontal_;
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (horizontal_ != horizontal) {
        horizontal_ = horizontal;
        Invalidate();
    }
}

int CProgressUI::GetMinValue() const
{
    return min_;
}

void CProgressUI::SetMinValue(int min)
{
    min_ = min;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return max_;
}

void CProgressUI::SetMaxValue(int max)
{
    max_ = max;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return value_;
}

void CProgressUI::SetValue(int value)
{
    const int clamped = std::clamp(value, min_, std::max(min_, max_));
    if (clamped != value_) {
        value_ = clamped;
        Invalidate();
    }
}

void CProgressUI::SetForeImage(std::string_view descriptor)
{
    SetImage(foreImage_, descriptor);
}

UIRect CProgressUI::FilledRect() const
{
    // An empty range counts as one step, so nothing divides by zero.
    const int64_t low = min_;
    const int64_t high = max_ > min_ ? max_ : low + 1;
    const int64_t value = std::clamp<int64_t>(value_, low, high);
    const int64_t width = GetWidth();
    const int64_t height = GetHeight();
    if (horizontal_) {
        return {0, 0, static_cast<int>(width * (value - low) / (high - low)), static_cast<int>(height)};
    }
    return {0, static_cast<int>((high - value) * height / (high - low)), static_cast<int>(width), static_cast<int>(height)};
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value)
{
    if (name == "foreimage") {
        SetForeImage(value);
    } else if (name == "hor") {
        SetHorizontal(ParseBool(value));
    } else if (name == "min") {
        SetMinValue(ParseInt(value));
    } else if (name == "max") {
        SetMaxValue(ParseInt(value));
    } else if (name == "value") {
        SetValue(ParseInt(value));
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

void CProgressUI::PaintStatusImage(CRenderEngine& render)
{
    const UIRect filled = FilledRect();
    DrawImage(render, foreImage_, &filled);
}

} // namespace SkinUI
