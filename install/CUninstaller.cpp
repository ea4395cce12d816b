#include "install/CUninstaller.h"

#include "install/ReportCodes.h"
#include "install/ReportLine.h"
#include "platform/FileSystem.h"
#include "utils/Accounts.h"

CUninstaller::CUninstaller(EventCallback callback, std::string uninstallerPath, std::string installFolder)
    : CPackageRunner(std::move(callback), "UnInstaller"),
      uninstallerPath_(std::move(uninstallerPath)),
      installFolder_(std::move(installFolder)) {}

CUninstaller::~CUninstaller() {
    WaitForWorker();
}

std::string CUninstaller::BuildCommandLine() const {
    // The uninstaller path goes in unquoted; the program is found the way
    // Windows finds an unquoted path with blanks. "_?=" takes the rest of the line.
    return uninstallerPath_ + " /S -adminact=" + Flag(Utils::IsConsoleUserAdmin()) +
           " -authorizationact=" + Flag(Utils::IsTokenAdmin()) + " -console=show _?=" + installFolder_;
}

void CUninstaller::Start() {
    StartRun(BuildCommandLine());
}

void CUninstaller::Run() {
    if (!Platform::FileExists(uninstallerPath_)) {
        Report(UNIST_CODE_FAIL, 1.0, "可执行卸载文件不存在");
        return;
    }
    Report(UNIST_CODE_PROGRESS, 0.0, "");
    MakeExecutable(uninstallerPath_);
    if (!StartChild()) {
        Report(UNIST_CODE_FAIL, 2.0, "");
        return;
    }
    bool closingDue = true;
    std::string text;
    while (ChildExitStatus() == Utils::ChildProcess::kStillActive) {
        if (ReadText(text)) {
            if (Parse(text) != ParseOutcome::None) closingDue = false;
        } else {
            WaitForChild();  // output closed early: block on the child's end rather than spin
        }
    }
    // An uninstaller that ends quickly leaves its last lines, often its final
    // state, in the pipe; dropping them could turn an error into a success.
    if (ParseLeftoverOutput(false)) closingDue = false;
    ReleaseChild();
    if (closingDue) Report(UNIST_CODE_SUCCESS, 1.0, "");
}

void CUninstaller::ParseLine(ReportLine& line, ParseOutcome& outcome) {
    if (line.Is("Progress=")) {
        Report(UNIST_CODE_PROGRESS, line.Real(), "");
    } else if (line.Is("Error=")) {
        Report(UNIST_CODE_ERROR, 0.0, line.Text());
        outcome = ParseOutcome::Failed;
    } else if (line.Is("State=")) {
        const std::string state = line.Keyword();
        if (state == "Success") {
            Report(UNIST_CODE_SUCCESS, 0.0, "");
            outcome = ParseOutcome::Succeeded;
        } else if (state == "Fail") {
            Report(UNIST_CODE_ERROR, 0.0, "安装包卸载失败");
            outcome = ParseOutcome::Failed;
        }
    } else if (line.Is("Encode=")) {
        codePage_ = line.Keyword() == "UTF8" ? 65001 : 0;
    }
}
