#pragma once

#include "utils/EventCallback.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Records every report the orchestration hands to its UI callback, from
// whichever thread it comes, and lets a test wait (bounded) for one.
class ReportRecorder {
public:
    struct Report {
        int32_t code;
        double value;
        std::string text;
    };

    // Runs on the reporting thread before the report is recorded, e.g. to look
    // at the disk at the moment of a report.
    using Probe = std::function<void(const Report&)>;

    explicit ReportRecorder(Probe probe = nullptr) : probe_(std::move(probe)) {}

    EventCallback Callback() {
        return [this](int32_t code, double value, const std::string& text) {
            const Report report{code, value, text};
            if (probe_) probe_(report);
            const std::lock_guard lock(mutex_);
            reports_.push_back(report);
            changed_.notify_all();
        };
    }

    // True when a report with one of the codes arrived within the limit.
    bool WaitForAny(const std::vector<int32_t>& codes,
                    std::chrono::milliseconds limit = std::chrono::seconds(60)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] {
            return std::any_of(reports_.begin(), reports_.end(), [&](const Report& r) {
                return std::find(codes.begin(), codes.end(), r.code) != codes.end();
            });
        });
    }

    std::vector<Report> Reports() const {
        const std::lock_guard lock(mutex_);
        return reports_;
    }

    // The codes in order, with runs of the same progress code (1002, 2002, 5002
    // with a non-zero value) folded into one, so orders can be compared exactly.
    std::vector<int32_t> Codes() const {
        std::vector<int32_t> codes;
        for (const auto& r : Reports()) {
            if (!codes.empty() && codes.back() == r.code && (r.code == 1002 || r.code == 2002 || r.code == 5002))
                continue;
            codes.push_back(r.code);
        }
        return codes;
    }

private:
    Probe probe_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Report> reports_;
};
