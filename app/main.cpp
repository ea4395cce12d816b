#include "app/InstanceGuard.h"
#include "app/LaunchSettings.h"
#include "platform/FileSystem.h"
#include "platform/WindowSystem.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CWndShadow.h"
#include "ui/CMainWnd.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kGuardKey = "Installer_nuvaloPDFconverter";
constexpr int kAnotherInstallerRuns = -1;

bool WantsSettingsPrinted(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-settings") == 0) return true;
    }
    return false;
}

// Shows the wizard modally until its window is gone; the window object (and
// with it the orchestration and its workers) is gone when this returns.
void RunMainWindow()
{
    if (Platform::WindowSystem::Current() == nullptr) {
        std::fputs("nuvalo-installer: no display to show the installer on (is DISPLAY set?)\n", stderr);
        return;
    }
    SkinUI::CResourceSettings::SetInstance(Platform::ExecutablePath());
    CWndShadow::Initialize();
    CMainWnd window;
    if (window.Open() == 0) return;
    window.CenterWindow();
    window.ShowModal();
}

}  // namespace

int main(int argc, char** argv)
{
    // Static initialisation has already read the settings file beside the program.
    LaunchSettings& settings = LaunchSettings::Instance();
    if (WantsSettingsPrinted(argc, argv)) {
        settings.ApplyCommandLine(argc, argv);
        std::fputs(settings.FieldLines().c_str(), stdout);
        return 0;
    }
    InstanceGuard guard(kGuardKey);
    guard.Acquire();
    if (!guard.IsHeld()) return kAnotherInstallerRuns;
    settings.ApplyCommandLine(argc, argv);
    RunMainWindow();
    guard.Release();
    return 0;
}
