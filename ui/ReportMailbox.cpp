#include "ui/ReportMailbox.h"

ReportMailbox::ReportMailbox(Platform::WindowId window, uint32_t message) : window_(window), message_(message) {}

void ReportMailbox::Post(int32_t code, double value, const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Platform::WindowSystem* system = Platform::WindowSystem::Current();
    if (closed_ || system == nullptr) return;
    auto record = std::make_unique<ReportRecord>(ReportRecord{code, value, text});
    const auto key = reinterpret_cast<intptr_t>(record.get());
    pending_.emplace(key, std::move(record));
    system->PostMessage(Platform::Message{window_, message_, 0, key});
}

std::unique_ptr<ReportRecord> ReportMailbox::Take(intptr_t key)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = pending_.find(key);
    if (found == pending_.end()) return nullptr;
    std::unique_ptr<ReportRecord> record = std::move(found->second);
    pending_.erase(found);
    return record;
}

void ReportMailbox::Close()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    pending_.clear();
}

size_t ReportMailbox::PendingCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return pending_.size();
}
