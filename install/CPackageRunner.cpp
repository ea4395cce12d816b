#include "install/CPackageRunner.h"

#include "install/ReportLine.h"
#include "platform/TextConversion.h"
#include "utils/DebugLog.h"

#include <exception>
#include <sys/stat.h>

CPackageRunner::CPackageRunner(EventCallback callback, std::string workerName)
    : callback_(std::move(callback)), workerName_(std::move(workerName)) {}

void CPackageRunner::StartRun(std::string commandLine) {
    WaitForWorker();  // the previous run must not see its command line change
    commandLine_ = std::move(commandLine);
    worker_.Restart(this, workerName_, [](void* self) {
        static_cast<CPackageRunner*>(self)->Run();
        return 0u;
    });
}

ParseOutcome CPackageRunner::Parse(const std::string& text) {
    ParseOutcome outcome = ParseOutcome::None;
    ReportLine::ForEach(text, [&](ReportLine& line) { ParseLine(line, outcome); });
    return outcome;
}

void CPackageRunner::Report(int32_t code, double value, const std::string& text) const {
    if (callback_) callback_(code, value, text);
}

bool CPackageRunner::StartChild() {
    child_.reset();
    try {
        auto child = std::make_unique<Utils::ChildProcess>();
        child->Start(commandLine_);
        child_ = std::move(child);
        return true;
    } catch (const std::exception&) {
        DEBUG_LOG("cannot start: %s", commandLine_.c_str());
        return false;
    }
}

std::string CPackageRunner::Decode(const std::string& bytes) const {
    return Platform::DecodeCodePage(bytes, static_cast<unsigned>(codePage_));
}

bool CPackageRunner::ReadText(std::string& text) {
    std::string bytes;
    if (!child_->ReadOutput(bytes)) return false;
    text = Decode(bytes);
    return true;
}

bool CPackageRunner::ParseLeftoverOutput(bool stopAtFinalState) {
    bool finalState = false;
    for (std::string bytes; child_->ReadPendingOutput(bytes);) {
        if (Parse(Decode(bytes)) == ParseOutcome::None) continue;
        finalState = true;
        if (stopAtFinalState) break;
    }
    return finalState;
}

void CPackageRunner::ReleaseChild() {
    child_->Wait();
    child_.reset();
}

void CPackageRunner::MakeExecutable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return;
    const mode_t executable = info.st_mode | ((info.st_mode & 0444) >> 2);
    if (executable != info.st_mode && ::chmod(path.c_str(), executable & 07777) != 0) {
        DEBUG_LOG("cannot make executable: %s", path.c_str());
    }
}
