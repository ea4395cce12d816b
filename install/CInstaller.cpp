#include "install/CInstaller.h"

#include "install/ReportCodes.h"
#include "install/ReportLine.h"
#include "platform/CommandLine.h"
#include "utils/DebugLog.h"

#include <chrono>
#include <thread>

namespace {

double StartupStyle(const std::string& word) {
    if (word == "AutoStartup") return 1.0;
    if (word == "UserStartup") return 2.0;
    return 0.0;  // "NonStartup" and every unknown word
}

int32_t CodePageOf(const std::string& word) {
    if (word == "UTF8") return 65001;
    if (word == "ACP") return 0;
    return ReportLine::LeadingInteger(word);
}

double Unsigned32(int32_t value) {
    return static_cast<double>(static_cast<uint32_t>(value));
}

}  // namespace

CInstaller::CInstaller(EventCallback callback, std::string packagePath, std::string installFolder)
    : CPackageRunner(std::move(callback), "ABDEF"),
      packagePath_(std::move(packagePath)),
      installFolder_(std::move(installFolder)) {}

CInstaller::~CInstaller() {
    WaitForWorker();
}

std::string CInstaller::BuildCommandLine() const {
    std::string line = packagePath_ + " /S -console=show -version=1.0.0";
    line += std::string(" -adminact=") + Flag(adminAct_);
    line += std::string(" -authorizationact=") + Flag(authorizationAct_);
    line += std::string(" -dsc=") + Flag(desktopShortcut_);
    line += std::string(" -ssc=") + Flag(quickLaunchShortcut_);
    if (!language_.empty()) line += " -inslang=\"" + language_ + "\"";
    if (!instCmd_.empty()) line += " " + instCmd_;
    if (!installFolder_.empty()) {
        line += " -instdir=\"" + installFolder_ + "\"";
        line += " /D=" + installFolder_;  // always last: the package takes the rest of the line
    }
    return line;
}

void CInstaller::Start() {
    StartRun(BuildCommandLine());
}

void CInstaller::Run() {
    Report(IST_CODE_START, 0.0, "");
    Report(IST_CODE_PROGRESS, 0.0, "");
    const std::vector<std::string> program = Platform::SplitCommandLine(packagePath_);
    if (!program.empty()) MakeExecutable(program[0]);
    if (!StartChild()) {
        Report(IST_CODE_FAIL, 2.0, "");
        return;
    }
    bool seenEnded = false;
    bool closingDue = false;
    for (;;) {
        std::string text;
        const bool gotChunk = ReadText(text);
        if (gotChunk && Parse(text) != ParseOutcome::None) break;
        if (seenEnded) {
            // A chatty package can end with many chunks still unread; its
            // last lines, often an Error=, must not be dropped.
            closingDue = !ParseLeftoverOutput(true);
            break;
        }
        seenEnded = ChildExitStatus() != Utils::ChildProcess::kStillActive;
        // Pausing after every chunk would cap a chatty package at 10 KB/s;
        // the pause only keeps a closed but still running child from spinning us.
        if (!gotChunk) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ReleaseChild();
    if (closingDue) Report(INSTALL_SUCCESS, 1.0, "");
}

void CInstaller::ParseLine(ReportLine& line, ParseOutcome& outcome) {
    if (line.Is("Progress=")) {
        Report(IST_CODE_PROGRESS, line.Real(), "");
    } else if (line.Is("InstPath=")) {
        Report(IST_INFO_INST_PATH, 0.0, line.Text());
    } else if (line.Is("State=")) {
        const std::string state = line.Keyword();
        if (state == "Success") {
            Report(INSTALL_SUCCESS, 0.0, "");
            outcome = ParseOutcome::Succeeded;
        } else if (state == "Fail") {
            Report(IST_CODE_FAIL, 0.0, "安装包安装失败");
            outcome = ParseOutcome::Failed;
        }
    } else if (line.Is("InstallVersion=")) {
        // consumed without effect
    } else if (line.Is("ExePath=")) {
        const std::string path = line.Text();
        DEBUG_LOG("ExePath: %s", path.c_str());
        Report(IST_INFO_EXE_PATH, 0.0, path);
    } else if (line.Is("StartExe=")) {
        Report(IST_INFO_EXE_PATH, 0.0, line.Text());
    } else if (line.Is("UninstExePath=") || line.Is("UninstExe=")) {
        Report(IST_INFO_UNINST_EXE, 0.0, line.Text());
    } else if (line.Is("UninstEp=")) {
        Report(IST_INFO_UNINST_EP, 0.0, line.Text());
    } else if (line.Is("Error=")) {
        Report(IST_CODE_FAIL, 1000.0, line.Text());
        outcome = ParseOutcome::Failed;
    } else if (line.Is("TopShowDetention=")) {
        Report(IST_INFO_TOP_SHOW, Unsigned32(line.Integer()), "");
    } else if (line.Is("FinsihCloseDetention=")) {
        Report(IST_INFO_FINISH_CLOSE, Unsigned32(line.Integer()), "");
    } else if (line.Is("StartUrl=")) {
        Report(IST_INFO_START_URL, 0.0, line.Text());
    } else if (line.Is("StartupStyle=")) {
        Report(IST_INFO_STARTUP_STYLE, StartupStyle(line.Keyword()), "");
    } else if (line.Is("Encode=")) {
        codePage_ = CodePageOf(line.Keyword());
    } else if (line.Is("Message=")) {
        Report(IST_INFO_MESSAGE, 0.0, line.Text());
    }
}
