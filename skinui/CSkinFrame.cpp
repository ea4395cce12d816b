#include "skinui/CSkinFrame.h"

#include "platform/WindowMessages.h"

namespace SkinUI {

namespace {

constexpr int kInstallerSkinResourceId = 147;

}  // namespace

CSkinFrame::CSkinFrame(TSkinFrameParams params) : params_(std::move(params)) {}

TSkinFrameParams CSkinFrame::InstallerSkin(const std::string& skinFile)
{
    const size_t dot = skinFile.rfind('.');
    return TSkinFrameParams{ResourceKind::ZipResource, kInstallerSkinResourceId, "", skinFile,
                            dot == std::string::npos ? skinFile : skinFile.substr(0, dot)};
}

void CSkinFrame::InitWindow()
{
    SetStyle(GetStyle() & ~(UI_WS_CAPTION | UI_WS_MAXIMIZEBOX));
    shadow_.Create(GetHWND(), paintManager_);
}

intptr_t CSkinFrame::MessageHandler(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    if (message == Platform::WM_KEYDOWN && wParam == Platform::VK_ESCAPE) {
        handled = true;
        return 0;
    }
    return WindowImplBase::MessageHandler(message, wParam, lParam, handled);
}

}  // namespace SkinUI
