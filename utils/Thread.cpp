#include "utils/Thread.h"

#include "utils/DebugLog.h"

#include <unistd.h>

namespace Utils {

void SetThreadName(pthread_t thread, const std::string& name) {
    pthread_setname_np(thread, name.substr(0, 15).c_str());
}

Thread::Thread(void* param, std::string name, ThreadProc proc)
    : proc_(std::move(proc)), param_(param), name_(std::move(name)) {
    if (pthread_create(&handle_, nullptr, &Thread::CallBack, this) != 0) return;
    hasHandle_ = true;
    std::unique_lock lock(mutex_);
    gateChanged_.wait(lock, [&] { return idPublished_; });
    lock.unlock();
    SetThreadName(handle_, name_.empty() ? "t" + std::to_string(threadId_) : name_);
}

Thread::~Thread() {
    Release();
    threadId_ = UINT32_MAX;
    name_.clear();
    proc_ = nullptr;
}

void Thread::Resume() {
    std::lock_guard lock(mutex_);
    if (gate_ == Gate::Suspended) gate_ = Gate::Resumed;
    gateChanged_.notify_all();
}

void Thread::Wait() {
    Release();
}

void Thread::Release() {
    if (!hasHandle_) return;
    {
        std::lock_guard lock(mutex_);
        if (gate_ == Gate::Suspended) gate_ = Gate::Cancelled;
        gateChanged_.notify_all();
    }
    pthread_join(handle_, nullptr);
    hasHandle_ = false;
    threadId_ = UINT32_MAX;
}

bool Thread::IsCurrentThread() const {
    return hasHandle_ && pthread_equal(handle_, pthread_self());
}

void* Thread::CallBack(void* arg) {
    auto* self = static_cast<Thread*>(arg);
    {
        std::unique_lock lock(self->mutex_);
        self->threadId_ = static_cast<uint32_t>(::gettid());
        self->idPublished_ = true;
        self->gateChanged_.notify_all();
        self->gateChanged_.wait(lock, [&] { return self->gate_ != Gate::Suspended; });
        if (self->gate_ == Gate::Cancelled) return nullptr;
    }
    DEBUG_LOG("THREAD BEGIN");
    self->proc_(self->param_);
    DEBUG_LOG("THREAD END");
    return nullptr;
}

WorkerSlot::~WorkerSlot() {
    Wait();
}

void WorkerSlot::Restart(void* param, const std::string& name, ThreadProc proc) {
    if (current_ && current_->IsCurrentThread()) {
        retired_ = std::move(current_);  // a still-retired older worker is joined here
    } else {
        current_.reset();
        retired_.reset();
    }
    current_ = std::make_unique<Thread>(param, name, std::move(proc));
    if (current_->HasHandle()) current_->Resume();
}

void WorkerSlot::Wait() {
    if (current_ && !current_->IsCurrentThread()) current_->Wait();
    if (retired_ && !retired_->IsCurrentThread()) retired_->Wait();
}

}  // namespace Utils
