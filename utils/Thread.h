#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <string>

namespace Utils {

using ThreadProc = std::function<uint32_t(void*)>;

// A worker thread that is created suspended, named for debuggers, framed by
// "THREAD BEGIN" / "THREAD END" records and awaited by its owner.
class Thread {
public:
    Thread(void* param, std::string name, ThreadProc proc);
    // Waits for the thread; a thread that was never resumed ends without running proc.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Resume();
    // Waits for the end of the thread and releases it; nothing without a thread.
    void Wait();

    bool HasHandle() const { return hasHandle_; }
    // The system thread id, or all ones when there is no thread.
    uint32_t ThreadId() const { return threadId_; }
    const std::string& Name() const { return name_; }
    // True when called on this object's own thread.
    bool IsCurrentThread() const;

private:
    static void* CallBack(void* self);
    void Release();

    enum class Gate { Suspended, Resumed, Cancelled };

    uint32_t threadId_ = UINT32_MAX;
    pthread_t handle_{};
    bool hasHandle_ = false;
    ThreadProc proc_;
    void* param_;
    std::string name_;

    std::mutex mutex_;
    std::condition_variable gateChanged_;
    Gate gate_ = Gate::Suspended;
    bool idPublished_ = false;
};

// Names a thread for debuggers (pthread names are cut to 15 bytes).
void SetThreadName(pthread_t thread, const std::string& name);

// An owner's current worker with the restart pattern: a start waits for the
// previous worker and releases it, then creates and resumes the next one.
// A restart asked for on the current worker's own thread cannot wait for that
// thread; the worker is then retired and joined by the next restart from
// another thread, or by the slot's destruction.
class WorkerSlot {
public:
    WorkerSlot() = default;
    ~WorkerSlot();
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    void Restart(void* param, const std::string& name, ThreadProc proc);
    // Waits for the current (and any retired) worker.
    void Wait();

private:
    std::unique_ptr<Thread> current_;
    std::unique_ptr<Thread> retired_;
};

}  // namespace Utils
