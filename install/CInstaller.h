#pragma once

#include "install/CPackageRunner.h"

#include <string>

// Runs the downloaded installation package hidden on the worker "ABDEF" and
// turns its report lines into reports. One runner serves every run of an
// orchestration; a new Start waits for the run before it.
class CInstaller : public CPackageRunner {
public:
    // packagePath carries its own double quotes; an empty installFolder lets
    // the package choose.
    CInstaller(EventCallback callback, std::string packagePath, std::string installFolder);
    ~CInstaller() override;

    void SetInstallFolder(std::string folder) { installFolder_ = std::move(folder); }
    void SetDesktopShortcut(bool on) { desktopShortcut_ = on; }
    void SetQuickLaunchShortcut(bool on) { quickLaunchShortcut_ = on; }
    void SetAdminAct(bool on) { adminAct_ = on; }
    void SetAuthorizationAct(bool on) { authorizationAct_ = on; }
    // "" leaves "-inslang" out.
    void SetLanguage(std::string language) { language_ = std::move(language); }
    // Extra switches for the package, passed on unchanged ("" adds nothing).
    void SetInstCmd(std::string instCmd) { instCmd_ = std::move(instCmd); }

    // Blocks while an earlier run of this runner is still going.
    void Start();

    std::string BuildCommandLine() const;

private:
    void Run() override;
    void ParseLine(ReportLine& line, ParseOutcome& outcome) override;

    std::string packagePath_;
    std::string installFolder_;
    bool quickLaunchShortcut_ = false;
    bool desktopShortcut_ = false;
    bool adminAct_ = false;
    bool authorizationAct_ = false;
    std::string language_;
    std::string instCmd_;
};
