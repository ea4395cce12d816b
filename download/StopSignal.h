#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// Raised once when a downloader is being destroyed; its threads poll it and
// their pauses end as soon as it is raised.
class StopSignal {
public:
    void Raise() {
        {
            std::lock_guard lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }
    bool Raised() const {
        std::lock_guard lock(mutex_);
        return raised_;
    }
    // Pauses for the duration; true when the signal was raised meanwhile.
    template <typename Duration>
    bool WaitFor(Duration duration) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, duration, [&] { return raised_; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};
