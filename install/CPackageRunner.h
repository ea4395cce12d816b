#pragma once

#include "install/ParseOutcome.h"
#include "utils/ChildProcess.h"
#include "utils/EventCallback.h"
#include "utils/Thread.h"

#include <cstdint>
#include <memory>
#include <string>

class ReportLine;

// What the package runner and the uninstaller runner share: the report
// channel, the worker with the restart pattern, the child process and the
// code page its output is decoded with.
class CPackageRunner {
public:
    CPackageRunner(const CPackageRunner&) = delete;
    CPackageRunner& operator=(const CPackageRunner&) = delete;

    const std::string& CommandLine() const { return commandLine_; }
    // Kept from one run to the next; changed only by Encode= lines.
    int32_t CodePage() const { return codePage_; }

    // One decoded chunk in the runner's dialect; reports every line it knows.
    ParseOutcome Parse(const std::string& text);

protected:
    CPackageRunner(EventCallback callback, std::string workerName);
    // Derived runners wait for the worker in their own destructor, before
    // anything the worker reads is gone.
    virtual ~CPackageRunner() = default;

    virtual void Run() = 0;
    // Makes the line's report; a final state overwrites outcome.
    virtual void ParseLine(ReportLine& line, ParseOutcome& outcome) = 0;

    // Waits for the previous run, takes the new command line and starts the worker.
    void StartRun(std::string commandLine);
    void WaitForWorker() { worker_.Wait(); }

    void Report(int32_t code, double value, const std::string& text) const;

    // Releases a child left from an earlier run and starts the command line;
    // false when no pipe or process could be created.
    bool StartChild();
    // One chunk of output decoded with the current code page.
    bool ReadText(std::string& text);
    // Parses what the ended child left in the pipe, without blocking on a
    // writer that is still alive (a program the child started may hold the
    // pipe); stops at the first final state when asked. True when a final
    // state was seen.
    bool ParseLeftoverOutput(bool stopAtFinalState);
    uint32_t ChildExitStatus() { return child_->ExitStatus(); }
    void WaitForChild() { child_->Wait(); }
    // Waits for the child (throwing its output away), closes and releases it.
    void ReleaseChild();

    // Gives a downloaded program its execute bit.
    static void MakeExecutable(const std::string& path);
    static const char* Flag(bool on) { return on ? "true" : "false"; }

    int32_t codePage_ = 0;

private:
    std::string Decode(const std::string& bytes) const;

    EventCallback callback_;
    std::string workerName_;
    std::string commandLine_;
    std::unique_ptr<Utils::ChildProcess> child_;
    Utils::WorkerSlot worker_;
};
