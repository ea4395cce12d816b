#pragma once

#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program the test starts, with its standard output on a pipe, and stops
// by its id (SIGTERM, then SIGKILL) unless it has ended.
class Process {
public:
    // Extra environment variables override the test's own.
    Process(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Id() const { return pid_; }
    // The exit code once ended (-1 after a signal), nothing while it runs.
    std::optional<int> Poll();
    // Waits at most limitMs for the end.
    std::optional<int> WaitFor(int limitMs);
    // One line of standard output, waiting at most limitMs; nothing at the end or time-out.
    std::optional<std::string> ReadLine(int limitMs);
    void Stop();

    // Runs a program to its end (at most limitMs) and gives its standard output, or nothing.
    static std::optional<std::string> Output(const std::vector<std::string>& args, int limitMs,
                                             const std::map<std::string, std::string>& environment = {});

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
    std::optional<int> exit_;
};
