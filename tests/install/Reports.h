#pragma once

#include "utils/EventCallback.h"

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Collects the reports a runner makes, from whatever thread makes them.
struct Report {
    int32_t code;
    double value;
    std::string text;
    bool operator==(const Report&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Report& r) {
    return out << "(" << r.code << ", " << r.value << ", \"" << r.text << "\")";
}

class Reports {
public:
    EventCallback Callback() {
        return [this](int32_t code, double value, const std::string& text) {
            std::lock_guard lock(mutex_);
            reports_.push_back({code, value, text});
        };
    }
    std::vector<Report> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(reports_, {});
    }

private:
    std::mutex mutex_;
    std::vector<Report> reports_;
};
