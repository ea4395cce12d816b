#pragma once

#include "DemoFaults.h"

#include <string>

// Prints report lines the way the real package does, one flushed line at a
// realistic pace, and carries out the faults that concern the output.
class DemoReporter {
public:
    DemoReporter(const DemoFaults& faults, bool console);

    // The first report, with the faults that come before any work: a flood
    // of standard error, garbage, the switch to GBK, a hang or a crash.
    void Begin();
    // A report line; in GBK once the switch to GBK was announced.
    void Line(const std::string& line);
    void Progress(double fraction);

private:
    void Pause() const;
    // Announces code page 936 in a chunk of its own; later lines are GBK bytes.
    void SwitchToGbk();
    void Garbage(std::size_t bytes);
    void FloodStandardError(std::size_t bytes);
    [[noreturn]] void Hang();
    [[noreturn]] void Crash();

    const DemoFaults& faults_;
    bool console_;
    bool gbk_ = false;
};
