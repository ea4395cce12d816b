#pragma once

#include "skinui/CLabelUI.h"

namespace SkinUI {

// A bar whose fore image covers the part of the control that the value fills.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool IsHorizontal() const;
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const;
    void SetMinValue(int min);
    int GetMaxValue() const;
    void SetMaxValue(int max);
    int GetValue() const;
    // Clamped to [min, max].
    void SetValue(int value);
    void SetForeImage(std::string_view descriptor);

    // The filled part relative to the control's top-left corner.
    UIRect FilledRect() const;

    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintStatusImage(CRenderEngine& render) override;

private:
    bool horizontal_ = true;
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    CImageDescriptor foreImage_;
};

} // namespace SkinUI
