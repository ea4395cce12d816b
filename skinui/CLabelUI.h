#pragma once

#include "skinui/CControlUI.h"

namespace SkinUI {

// A control that draws one text with a font, colours, alignment and padding.
class CLabelUI : public CControlUI {
public:
    CLabelUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetText(std::string_view text) override;
    void SetFixedWidth(int cx) override;
    void SetFixedHeight(int cy) override;

    uint32_t GetTextStyle() const;
    void SetTextStyle(uint32_t style);
    int GetFont() const;
    void SetFont(int index);
    uint32_t GetTextColor() const;
    void SetTextColor(uint32_t argb);
    uint32_t GetDisabledTextColor() const;
    void SetDisabledTextColor(uint32_t argb);
    UIRect GetTextPadding() const;
    void SetTextPadding(UIRect padding);
    bool IsShowHtml() const;
    void SetShowHtml(bool showHtml = true);

    // Cached; recomputed when the text, font, padding, style, fixed size or (multi-line) the
    // available size changes.
    UISize EstimateSize(UISize available) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintText(CRenderEngine& render) override;

protected:
    // The text as drawn: multi-language tokens replaced.
    std::string DisplayText() const;
    // The text colour, or the window's default when unset.
    uint32_t EffectiveTextColor() const;
    uint32_t EffectiveDisabledTextColor() const;
    // Draws the display text into the control deflated by the text padding.
    void DrawLabelText(CRenderEngine& render, std::string_view text, uint32_t color, uint32_t style);
    void InvalidateEstimate() { estimateValid_ = false; }

private:
    void SetAlignAttribute(std::string_view value);
    void SetVAlignAttribute(std::string_view value);
    void SetStyleBit(uint32_t bit, bool on);
    UISize ComputeEstimate(UISize available);

    uint32_t textStyle_;
    int font_ = -1;
    uint32_t textColor_ = 0;
    uint32_t disabledTextColor_ = 0;
    UIRect textPadding_;
    bool showHtml_ = false;

    bool estimateValid_ = false;
    UISize estimateAvailable_;
    UISize estimate_;
};

} // namespace SkinUI
