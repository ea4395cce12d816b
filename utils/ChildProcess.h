#pragma once

#include "utils/Pipe.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <thread>

namespace Utils {

// One started program with its standard streams on pipes. Used by one thread
// only (the runner's worker); standard error is drained on a helper thread of
// its own so the child can never block on it.
class ChildProcess {
public:
    static constexpr uint32_t kStillActive = 259;
    static constexpr std::size_t kMaxCommandLineChars = 1023;
    static constexpr std::size_t kChunkBytes = 1024;
    // Creates the error, output and input pipes; raises Utils::Exception.
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program named by the first token of a Windows-style command
    // line. Raises Utils::Exception when the line is longer than 1023
    // characters or the program cannot be started (std::system_error when
    // no thread is left for draining standard error).
    void Start(const std::string& commandLine);

    // Blocks until the child writes or every writer has gone; false once the
    // output is drained. A chunk holds at most 1024 bytes, cut at the first NUL.
    bool ReadOutput(std::string& chunk);
    // A chunk only when one can be read without waiting.
    bool ReadPendingOutput(std::string& chunk);

    // kStillActive while the child runs, else its exit code (128 + signal
    // number for a child killed by a signal).
    uint32_t ExitStatus();

    // Waits without a time limit; output written meanwhile is thrown away so
    // the child cannot block on a full pipe. Returns the exit status.
    uint32_t Wait();

    // Stops draining standard error and closes every descriptor still open.
    void Close();

    pid_t ProcessId() const { return pid_; }

private:
    void StartErrorDrain();
    void StopErrorDrain();
    bool Reap(int options);
    void DiscardOutputUntilEnd();

    Pipe errorPipe_;
    Pipe outputPipe_;
    Pipe inputPipe_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    uint32_t exitCode_ = 0;
    int stopDrain_ = -1;
    std::thread errorDrain_;
};

}  // namespace Utils
