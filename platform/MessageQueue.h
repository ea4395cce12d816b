#pragma once

#include "platform/WindowSystem.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace Platform {

// The user-interface thread's queue behind both window back ends: posted
// messages (any thread, in order), the quit message and the timers. An
// eventfd becomes readable whenever something is posted, so a back end can
// wait on it together with its own connection.
class MessageQueue {
public:
    MessageQueue();
    ~MessageQueue();
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    void Post(const Message& message);
    void PostQuit(int exitCode);
    // The oldest posted message (a quit message carries message = WM_QUIT).
    bool TakePosted(Message& message);
    // The timer that is due first, when one is due; it is re-armed a full interval later.
    bool TakeDueTimer(Message& message);

    bool SetTimer(WindowId window, uint32_t id, uint32_t intervalMs);
    void KillTimer(WindowId window, uint32_t id);
    void KillTimers(WindowId window);
    bool HasTimer(WindowId window, uint32_t id) const;
    // Milliseconds until the next timer is due (0 when one is due), -1 without timers.
    int MillisecondsToNextTimer() const;

    // Blocks until something is posted, extraFd (when >= 0) is readable or
    // timeoutMs passes (-1 = no limit); then clears the wake-up signal.
    void Wait(int timeoutMs, int extraFd = -1);
    static uint32_t TickCount();

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        uint32_t intervalMs = 0;
        Clock::time_point due;
    };

    mutable std::mutex mutex_;
    std::deque<Message> posted_;
    std::map<std::pair<WindowId, uint32_t>, Timer> timers_;
    int wakeFd_ = -1;
};

}  // namespace Platform
