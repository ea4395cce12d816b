#pragma once

#include "skinui/CLabelUI.h"

namespace SkinUI {

// Visual state bits of buttons, options and edits.
inline constexpr uint32_t UISTATE_FOCUSED = 0x01;
inline constexpr uint32_t UISTATE_SELECTED = 0x02;
inline constexpr uint32_t UISTATE_DISABLED = 0x04;
inline constexpr uint32_t UISTATE_HOT = 0x08;
inline constexpr uint32_t UISTATE_PUSHED = 0x10;
inline constexpr uint32_t UISTATE_CAPTURED = 0x40;

// A label that is clicked: state images and colours for normal, hot, pushed, focused and
// disabled, an optional hot fade, and the "click" notification.
class CButtonUI : public CLabelUI {
public:
    // Local id of the hot-fade timer.
    static constexpr uint32_t kFadeTimerId = 11;
    static constexpr uint32_t kFadeIntervalMs = 30;

    CButtonUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    uint32_t GetControlFlags() const override;

    // Sends "click"; false when invisible or disabled.
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(TEventUI& event) override;
    UISize EstimateSize(UISize available) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintText(CRenderEngine& render) override;
    void PaintStatusImage(CRenderEngine& render) override;

    uint32_t GetButtonState() const { return state_; }
    void SetNormalImage(std::string_view descriptor);
    void SetHotImage(std::string_view descriptor);
    void SetHotForeImage(std::string_view descriptor);
    void SetPushedImage(std::string_view descriptor);
    void SetPushedForeImage(std::string_view descriptor);
    void SetFocusedImage(std::string_view descriptor);
    void SetDisabledImage(std::string_view descriptor);
    void SetForeImage(std::string_view descriptor);
    // One image of five equal-width frames: normal, pushed, hot, focused, disabled.
    void SetFiveStatusImage(std::string_view descriptor);
    void SetHotBkColor(uint32_t argb);
    void SetPushedBkColor(uint32_t argb);
    void SetDisabledBkColor(uint32_t argb);
    void SetHotTextColor(uint32_t argb);
    void SetPushedTextColor(uint32_t argb);
    void SetFocusedTextColor(uint32_t argb);
    uint32_t GetHotTextColor() const { return hotTextColor_; }
    uint32_t GetPushedTextColor() const { return pushedTextColor_; }
    uint32_t GetFocusedTextColor() const { return focusedTextColor_; }
    void SetFadeAlphaDelta(uint8_t delta);
    uint8_t GetFadeAlphaDelta() const { return fadeDelta_; }

protected:
    // Paint steps with explicit state bits (options mask the pushed bit off).
    void PaintButtonStatus(CRenderEngine& render, uint32_t state);
    void PaintButtonText(CRenderEngine& render, uint32_t state);
    // Refreshes the focused and disabled bits from the control.
    void RefreshStateBits();

    uint32_t state_ = 0;

private:
    void HandleMouseEnter(const TEventUI& event);
    void HandleMouseLeave(const TEventUI& event);
    void StepFade();
    void StartFade();
    bool DrawNormalImage(CRenderEngine& render);
    void FillIfSet(CRenderEngine& render, uint32_t argb);

    CImageDescriptor normalImage_;
    CImageDescriptor hotImage_;
    CImageDescriptor hotForeImage_;
    CImageDescriptor pushedImage_;
    CImageDescriptor pushedForeImage_;
    CImageDescriptor focusedImage_;
    CImageDescriptor disabledImage_;
    CImageDescriptor foreImage_;
    uint32_t hotBkColor_ = 0;
    uint32_t pushedBkColor_ = 0;
    uint32_t disabledBkColor_ = 0;
    uint32_t hotTextColor_ = 0;
    uint32_t pushedTextColor_ = 0;
    uint32_t focusedTextColor_ = 0;
    uint8_t fadeAlpha_ = 255;
    uint8_t fadeDelta_ = 0;
};

} // namespace SkinUI
