#pragma once

#include <cstdint>

namespace Utils {

// Elapsed time on a 32-bit millisecond tick count; a wrap of the counter is harmless.
class Stopwatch {
public:
    void Start();
    // Same, from a given tick count.
    void StartAt(uint32_t startTick);
    void Stop();
    // Seconds since Start, 0 when not running.
    float Elapsed() const;
    // Same, against a given tick count.
    float ElapsedAt(uint32_t nowTick) const;

    static uint32_t TickCount();

    bool running = false;
    uint32_t startTick = 0;
};

}  // namespace Utils
