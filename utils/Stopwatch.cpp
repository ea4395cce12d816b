#include "utils/Stopwatch.h"

#include "platform/MessageQueue.h"

namespace Utils {

uint32_t Stopwatch::TickCount() { return Platform::MessageQueue::TickCount(); }

void Stopwatch::Start() { StartAt(TickCount()); }

void Stopwatch::StartAt(uint32_t tick) {
    startTick = tick;
    running = true;
}

void Stopwatch::Stop() { running = false; }

float Stopwatch::Elapsed() const { return ElapsedAt(TickCount()); }

float Stopwatch::ElapsedAt(uint32_t nowTick) const {
    if (!running) return 0.0f;
    return static_cast<float>(static_cast<uint32_t>(nowTick - startTick)) / 1000.0f;
}

}  // namespace Utils
