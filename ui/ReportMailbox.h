#pragma once

#include "platform/WindowSystem.h"
#include "ui/ReportRecord.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Hands reports from worker threads to the window: each record is kept here
// and its key posted with the window's report message. Records that no
// handler takes are freed when the mailbox closes or is destroyed, and
// reports arriving after closing are dropped, so none is ever leaked.
class ReportMailbox {
public:
    ReportMailbox(Platform::WindowId window, uint32_t message);
    ReportMailbox(const ReportMailbox&) = delete;
    ReportMailbox& operator=(const ReportMailbox&) = delete;

    // Any thread: copies the report and posts its key; nothing once closed.
    void Post(int32_t code, double value, const std::string& text);
    // UI thread: the record a message's key names, or null when there is none.
    std::unique_ptr<ReportRecord> Take(intptr_t key);
    // The window is gone: frees what is pending and refuses later reports.
    void Close();
    size_t PendingCount() const;

private:
    mutable std::mutex mutex_;
    Platform::WindowId window_;
    uint32_t message_;
    bool closed_ = false;
    std::map<intptr_t, std::unique_ptr<ReportRecord>> pending_;
};
