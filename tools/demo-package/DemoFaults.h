#pragma once

#include <cstddef>
#include <string>

// Misbehaviour a test asks of the demo package or uninstaller, read from the
// environment (DEMO_PACKAGE_FAULT / DEMO_UNINSTALLER_FAULT, comma-separated)
// or from "demo-fault.ini" beside the program (section "Package" or
// "Uninstaller", key "Fault"). Sizes and pace: DEMO_GARBAGE_BYTES,
// DEMO_STDERR_BYTES, DEMO_STEP_MS.
class DemoFaults {
public:
    // role is "Package" or "Uninstaller".
    static DemoFaults Load(const std::string& role, const std::string& programPath);

    // fail, error, hang, garbage, gbk, longlines, stderr, nostate, crash
    bool Has(const std::string& fault) const;

    std::size_t garbageBytes = 64 * 1024;
    std::size_t stderrBytes = 10 * 1000 * 1000;
    unsigned stepMs = 120;

private:
    std::string list_;
};
