#pragma once

#include "DemoFaults.h"

#include <string>

// Prints report lines the way the real package does, one flushed line at a
// realistic pace, and carries out the faults that concern the output.
class DemoReporter {
public:
    DemoReporter(const DemoFaults& faults, bool console);

    // A report line; in GBK once SwitchToGbk ran.
    void Line(const std::string& line);
    void Progress(double fraction);
    // Announces code page 936 in a chunk of its own; later lines are GBK bytes.
    void SwitchToGbk();
    void Garbage(std::size_t bytes);
    void FloodStandardError(std::size_t bytes);
    // The misbehaviours that end or stall the program; they do not return.
    [[noreturn]] void Hang();
    [[noreturn]] void Crash();

private:
    void Pause() const;

    const DemoFaults& faults_;
    bool console_;
    bool gbk_ = false;
};
