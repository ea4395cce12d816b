#pragma once

#include "platform/WindowSystem.h"
#include "skinui/CSkinFrame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace SkinUI {
class CButtonUI;
class CLabelUI;
}  // namespace SkinUI

// One skinned question or message over the main window; the skin file
// decides its look and which of the buttons exist.
class CMessageBoxWnd : public SkinUI::CSkinFrame {
public:
    static constexpr int kAnswerOk = 0;
    static constexpr int kAnswerCancel = 1;
    static constexpr int kAnswerOther = 2;

    explicit CMessageBoxWnd(const std::string& skinFile);

    // Creates the native window owned by owner; 0 when it could not be created.
    Platform::WindowId Open(Platform::WindowId owner);
    // Replaces the skin's "TEXT" and "CAPTION" where given and where the skin has the label.
    void SetTexts(std::optional<std::string_view> text, std::optional<std::string_view> caption);
    // Centred over the owner and modal; answers which button ended it.
    int RunModal();

    void InitWindow() override;
    void OnClick(SkinUI::TNotifyEvent& msg) override;

private:
    int result_ = kAnswerCancel;
    SkinUI::CButtonUI* okBtn_ = nullptr;
    SkinUI::CButtonUI* cancelBtn_ = nullptr;
    SkinUI::CLabelUI* textLbl_ = nullptr;
    SkinUI::CLabelUI* captionLbl_ = nullptr;
};

// Shows one dialog modally over owner: 0 for "okBtn", 1 for "cancelBtn" or no
// click at all, 2 for any other click (normally "closebtn").
int ShowMessageBox(Platform::WindowId owner, const std::string& skinFile,
                   std::optional<std::string_view> text = std::nullopt,
                   std::optional<std::string_view> caption = std::nullopt);
