#include "utils/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string TaskName(uint32_t threadId) {
    std::ifstream comm("/proc/self/task/" + std::to_string(threadId) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

TEST(Thread, IsNamedForDebuggers) {
    struct Case {
        std::string given;
        std::string shownPrefix;
    };
    for (const Case& c : {Case{"ABDEF", "ABDEF"}, Case{"UnInstaller", "UnInstaller"},
                          Case{"AVeryLongWorkerName", "AVeryLongWorker"}, Case{"", "t"}}) {
        Utils::Thread thread(nullptr, c.given, [](void*) { return 0u; });
        ASSERT_TRUE(thread.HasHandle());
        const std::string shown = TaskName(thread.ThreadId());
        if (c.given.empty()) {
            EXPECT_EQ(shown, ("t" + std::to_string(thread.ThreadId())).substr(0, 15));
        } else {
            EXPECT_EQ(shown, c.shownPrefix);
        }
        thread.Resume();
    }
}

TEST(Thread, DoesNotRunBeforeResumeAndNeverWhenDestroyedSuspended) {
    std::atomic<int> runs{0};
    {
        Utils::Thread thread(&runs, "ABDEF", [](void* p) {
            ++*static_cast<std::atomic<int>*>(p);
            return 0u;
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(runs, 0);
    }
    EXPECT_EQ(runs, 0);
}

TEST(Thread, RecordsBeginAndEndWithTheWorkersOwnId) {
    testing::internal::CaptureStderr();
    uint32_t id = 0;
    {
        Utils::Thread thread(nullptr, "ABDEF", [](void*) { return 42u; });
        id = thread.ThreadId();
        thread.Resume();
        thread.Wait();
        EXPECT_FALSE(thread.HasHandle());
        EXPECT_EQ(thread.ThreadId(), UINT32_MAX);
    }
    const std::string log = testing::internal::GetCapturedStderr();
    char tid[16];
    std::snprintf(tid, sizeof tid, "<T%05u>", id);
    const auto begin = log.find("(Utils::Thread::CallBack)");
    ASSERT_NE(begin, std::string::npos) << log;
    EXPECT_NE(log.find(std::string(tid)), std::string::npos) << log;
    EXPECT_LT(log.find("THREAD BEGIN"), log.find("THREAD END")) << log;
}

TEST(Thread, DestructionBlocksUntilTheWorkerEnds) {
    std::atomic<bool> finished{false};
    const auto start = std::chrono::steady_clock::now();
    {
        Utils::Thread thread(&finished, "ABDEF", [](void* p) {
            std::this_thread::sleep_for(200ms);
            static_cast<std::atomic<bool>*>(p)->store(true);
            return 0u;
        });
        thread.Resume();
    }
    EXPECT_TRUE(finished);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST(WorkerSlot, RestartWaitsForThePreviousWorker) {
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> runs{0};
    struct Shared {
        std::atomic<int>& running;
        std::atomic<int>& overlaps;
        std::atomic<int>& runs;
    } shared{running, overlaps, runs};
    Utils::WorkerSlot slot;
    auto work = [](void* p) {
        auto& s = *static_cast<Shared*>(p);
        if (++s.running > 1) ++s.overlaps;
        std::this_thread::sleep_for(50ms);
        --s.running;
        ++s.runs;
        return 0u;
    };
    for (int i = 0; i < 4; ++i) slot.Restart(&shared, "ABDEF", work);
    slot.Wait();
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(overlaps, 0);
}

TEST(WorkerSlot, RestartFromTheWorkersOwnThreadDoesNotWaitForItself) {
    struct Chain {
        Utils::WorkerSlot slot;
        std::atomic<int> runs{0};
        std::promise<void> done;
    } chain;
    auto future = chain.done.get_future();
    std::function<uint32_t(void*)> work = [&work](void* p) {
        auto& c = *static_cast<Chain*>(p);
        if (++c.runs < 3) {
            c.slot.Restart(&c, "ABDEF", work);
        } else {
            c.done.set_value();
        }
        return 0u;
    };
    chain.slot.Restart(&chain, "ABDEF", work);
    ASSERT_EQ(future.wait_for(5s), std::future_status::ready);
    chain.slot.Wait();
    EXPECT_EQ(chain.runs, 3);
}

}  // namespace
