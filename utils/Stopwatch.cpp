#include "utils/Stopwatch.h"

#include <ctime>

namespace Utils {

uint32_t Stopwatch::TickCount() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void Stopwatch::Start() {
    startTick = TickCount();
    running = true;
}

void Stopwatch::Stop() { running = false; }

float Stopwatch::Elapsed() const { return ElapsedAt(TickCount()); }

float Stopwatch::ElapsedAt(uint32_t nowTick) const {
    if (!running) return 0.0f;
    return static_cast<float>(static_cast<uint32_t>(nowTick - startTick)) / 1000.0f;
}

}  // namespace Utils
