#include "ui/CMessageBoxWnd.h"

#include "skinui/CButtonUI.h"
#include "skinui/CLabelUI.h"
#include "utils/DebugLog.h"

namespace {

constexpr const char* kDialogTitle = "消息框";

}  // namespace

CMessageBoxWnd::CMessageBoxWnd(const std::string& skinFile) : CSkinFrame(InstallerSkin(skinFile)) {}

Platform::WindowId CMessageBoxWnd::Open(Platform::WindowId owner)
{
    // The skin sets the size; centring sets the position.
    return Create(owner, kDialogTitle, SkinUI::UI_WS_VISIBLE | SkinUI::UI_WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
}

void CMessageBoxWnd::SetTexts(std::optional<std::string_view> text, std::optional<std::string_view> caption)
{
    if (text && textLbl_ != nullptr) textLbl_->SetText(*text);
    if (caption && captionLbl_ != nullptr) captionLbl_->SetText(*caption);
}

int CMessageBoxWnd::RunModal()
{
    CenterWindow();
    ShowModal();
    // A quit message ends the loop with the window still there; it goes while this object is whole.
    if (GetHWND() != 0) Platform::WindowSystem::Current()->DestroyWindow(GetHWND());
    return result_;
}

void CMessageBoxWnd::InitWindow()
{
    CSkinFrame::InitWindow();
    SetStyle((GetStyle() & ~(SkinUI::UI_WS_CAPTION | SkinUI::UI_WS_MAXIMIZEBOX)) | SkinUI::UI_WS_CLIPSIBLINGS |
             SkinUI::UI_WS_CLIPCHILDREN);
    okBtn_ = paintManager_.FindControlAs<SkinUI::CButtonUI>("okBtn", "Button");
    cancelBtn_ = paintManager_.FindControlAs<SkinUI::CButtonUI>("cancelBtn", "Button");
    textLbl_ = paintManager_.FindControlAs<SkinUI::CLabelUI>("textLbl", "Label");
    captionLbl_ = paintManager_.FindControlAs<SkinUI::CLabelUI>("captionLbl", "Label");
}

void CMessageBoxWnd::OnClick(SkinUI::TNotifyEvent& msg)
{
    if (msg.sender != nullptr && msg.sender == okBtn_) {
        result_ = kAnswerOk;
        Close(1);
    } else if (msg.sender != nullptr && msg.sender == cancelBtn_) {
        result_ = kAnswerCancel;
        Close(1);
    } else {
        result_ = kAnswerOther;
        CSkinFrame::OnClick(msg);
    }
}

int ShowMessageBox(Platform::WindowId owner, const std::string& skinFile, std::optional<std::string_view> text,
                   std::optional<std::string_view> caption)
{
    CMessageBoxWnd dialog(skinFile);
    if (dialog.Open(owner) == 0) {
        DEBUG_LOG("dialog %s could not be created", skinFile.c_str());
        return CMessageBoxWnd::kAnswerCancel;
    }
    dialog.SetTexts(text, caption);
    const int answer = dialog.RunModal();
    DEBUG_LOG("dialog %s answered %d", skinFile.c_str(), answer);
    return answer;
}
