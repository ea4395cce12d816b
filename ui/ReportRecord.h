#pragma once

#include <cstdint>
#include <string>

// A copy of one pipeline report, carried from a worker thread to the main
// window by its report message and freed there.
struct ReportRecord {
    int32_t code = 0;
    double value = 0.0;
    std::string text;
};
