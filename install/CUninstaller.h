#pragma once

#include "install/CPackageRunner.h"

#include <string>

// Runs the uninstaller of an older installation hidden on the worker
// "UnInstaller" and turns its report lines into reports.
class CUninstaller : public CPackageRunner {
public:
    CUninstaller(EventCallback callback, std::string uninstallerPath, std::string installFolder);
    ~CUninstaller() override;

    // Returns at once; the run reports through the callback.
    void Start();

    // The rights switches come from the console user's account and this
    // process's token.
    std::string BuildCommandLine() const;

private:
    void Run() override;
    void ParseLine(ReportLine& line, ParseOutcome& outcome) override;

    std::string uninstallerPath_;
    std::string installFolder_;
};
