#include "platform/MessageQueue.h"

#include "platform/WindowMessages.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

namespace Platform {

MessageQueue::MessageQueue() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

MessageQueue::~MessageQueue()
{
    if (wakeFd_ >= 0) close(wakeFd_);
}

void MessageQueue::Post(const Message& message)
{
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(message);
    }
    const uint64_t one = 1;
    if (wakeFd_ >= 0 && write(wakeFd_, &one, sizeof one) < 0) {
        // The counter is saturated, so a wake-up is already pending.
    }
}

void MessageQueue::PostQuit(int exitCode)
{
    Post(Message{0, WM_QUIT, static_cast<uintptr_t>(static_cast<intptr_t>(exitCode)), 0});
}

bool MessageQueue::TakePosted(Message& message)
{
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return false;
    message = posted_.front();
    posted_.pop_front();
    return true;
}

bool MessageQueue::TakeDueTimer(Message& message)
{
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    auto due = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.due <= now && (due == timers_.end() || it->second.due < due->second.due)) due = it;
    }
    if (due == timers_.end()) return false;
    due->second.due = now + std::chrono::milliseconds(due->second.intervalMs);
    message = Message{due->first.first, WM_TIMER, due->first.second, 0};
    return true;
}

bool MessageQueue::SetTimer(WindowId window, uint32_t id, uint32_t intervalMs)
{
    if (window == 0) return false;
    std::lock_guard lock(mutex_);
    // Like the platform's timers, an interval of 0 still waits one millisecond.
    const uint32_t interval = std::max<uint32_t>(intervalMs, 1);
    timers_[{window, id}] = Timer{interval, Clock::now() + std::chrono::milliseconds(interval)};
    return true;
}

void MessageQueue::KillTimer(WindowId window, uint32_t id)
{
    std::lock_guard lock(mutex_);
    timers_.erase({window, id});
}

void MessageQueue::KillTimers(WindowId window)
{
    std::lock_guard lock(mutex_);
    std::erase_if(timers_, [window](const auto& entry) { return entry.first.first == window; });
}

bool MessageQueue::HasTimer(WindowId window, uint32_t id) const
{
    std::lock_guard lock(mutex_);
    return timers_.count({window, id}) > 0;
}

int MessageQueue::MillisecondsToNextTimer() const
{
    std::lock_guard lock(mutex_);
    if (timers_.empty()) return -1;
    auto first = timers_.begin()->second.due;
    for (const auto& [key, timer] : timers_) first = std::min(first, timer.due);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(first - Clock::now()).count();
    // Round up so a wait does not wake just before the timer is due.
    return left <= 0 ? 0 : static_cast<int>(left) + 1;
}

void MessageQueue::Wait(int timeoutMs, int extraFd)
{
    {
        std::lock_guard lock(mutex_);
        if (!posted_.empty()) return;
    }
    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {extraFd, POLLIN, 0}};
    poll(fds, extraFd >= 0 ? 2 : 1, timeoutMs);
    uint64_t count = 0;
    if (read(wakeFd_, &count, sizeof count) < 0) {
        // Nothing was pending (EAGAIN).
    }
}

uint32_t MessageQueue::TickCount()
{
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
}

}  // namespace Platform
