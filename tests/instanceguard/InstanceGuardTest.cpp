#include "app/InstanceGuard.h"

#include "tests/localization/EnvironmentGuard.h"
#include "tests/skinui/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

using LocalizationTest::EnvironmentGuard;

constexpr const char* kKey = "Installer_nuvaloPDFconverter";

// Waits a bounded time for a child; one that overruns is killed.
int WaitForChild(pid_t pid)
{
    int status = 0;
    for (int i = 0; i < 500; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

// True when a guard of key can be taken by another process right now.
bool AnotherProcessAcquires(const std::string& key)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        InstanceGuard guard(key);
        guard.Acquire();
        ::_exit(guard.IsHeld() ? 0 : 1);
    }
    return pid > 0 && WaitForChild(pid) == 0;
}

class InstanceGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment_.Set("XDG_RUNTIME_DIR", runtime_.Path().c_str());
        environment_.Set("TMPDIR", temp_.Path().c_str());
    }

    TempFolder runtime_;
    TempFolder temp_;
    EnvironmentGuard environment_;
};

TEST_F(InstanceGuardTest, LockFileLivesInTheRuntimeFolderElseInTheTempFolderPerUser)
{
    const std::string name = std::string("D1A547DB89C0BC61_") + kKey;
    const std::string perUser = name + "-" + std::to_string(::geteuid()) + ".lock";
    EXPECT_EQ(InstanceGuard(kKey).LockFilePath(), runtime_.Path() + "/" + name + ".lock");
    struct Case {
        const char* runtime;
        const char* temp;
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, temp_.Path().c_str(), temp_.Path() + "/" + perUser},
        {"relative/run", temp_.Path().c_str(), temp_.Path() + "/" + perUser},
        {"/nonexistent/run", nullptr, "/tmp/" + perUser},
        {"", "", "/tmp/" + perUser},
    };
    for (const Case& c : cases) {
        EnvironmentGuard environment;
        environment.Set("XDG_RUNTIME_DIR", c.runtime);
        environment.Set("TMPDIR", c.temp);
        EXPECT_EQ(InstanceGuard(kKey).LockFilePath(), c.expected);
    }
    EXPECT_EQ(InstanceGuard("../escape").LockFilePath(), "");
}

TEST_F(InstanceGuardTest, AnotherProcessFailsWhileTheGuardIsHeldAndSucceedsAfterRelease)
{
    InstanceGuard guard(kKey);
    guard.Acquire();
    ASSERT_TRUE(guard.IsHeld());
    EXPECT_FALSE(AnotherProcessAcquires(kKey));
    EXPECT_TRUE(AnotherProcessAcquires("Installer_otherProduct"));
    guard.Release();
    EXPECT_FALSE(guard.IsHeld());
    EXPECT_TRUE(AnotherProcessAcquires(kKey));
}

TEST_F(InstanceGuardTest, ASecondGuardInTheSameProcessFailsAndTheFirstKeepsItsHold)
{
    InstanceGuard first(kKey);
    first.Acquire();
    first.Acquire();
    ASSERT_TRUE(first.IsHeld());
    {
        InstanceGuard second(kKey);
        second.Acquire();
        EXPECT_FALSE(second.IsHeld());
    }
    EXPECT_FALSE(AnotherProcessAcquires(kKey));
}

TEST_F(InstanceGuardTest, DestroyingTheGuardReleasesIt)
{
    {
        InstanceGuard guard(kKey);
        guard.Acquire();
        ASSERT_TRUE(guard.IsHeld());
    }
    EXPECT_TRUE(AnotherProcessAcquires(kKey));
}

TEST_F(InstanceGuardTest, AProgramStartedByTheHolderDoesNotKeepTheLockAfterTheHolderEnds)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    // The holder starts a long-running program and ends without releasing, as a crash would.
    const pid_t holder = ::fork();
    if (holder == 0) {
        InstanceGuard guard(kKey);
        guard.Acquire();
        pid_t sleeper = 0;
        char* argv[] = {const_cast<char*>("sleep"), const_cast<char*>("5"), nullptr};
        if (!guard.IsHeld() || ::posix_spawn(&sleeper, "/bin/sleep", nullptr, nullptr, argv, environ) != 0) ::_exit(1);
        const bool written = ::write(pipeFds[1], &sleeper, sizeof sleeper) == sizeof sleeper;
        ::_exit(written ? 0 : 1);
    }
    ::close(pipeFds[1]);
    pid_t sleeper = 0;
    const bool gotSleeper = ::read(pipeFds[0], &sleeper, sizeof sleeper) == sizeof sleeper;
    ::close(pipeFds[0]);
    EXPECT_EQ(WaitForChild(holder), 0);
    ASSERT_TRUE(gotSleeper);
    EXPECT_TRUE(AnotherProcessAcquires(kKey));
    ::kill(sleeper, SIGKILL);
}

TEST_F(InstanceGuardTest, ALinkPlacedAtTheLockFileIsNotFollowed)
{
    const std::string target = temp_.Write("target", "keep");
    const std::string lockFile = InstanceGuard(kKey).LockFilePath();
    std::filesystem::create_symlink(target, lockFile);
    InstanceGuard guard(kKey);
    guard.Acquire();
    EXPECT_FALSE(guard.IsHeld());
    std::string contents;
    std::getline(std::ifstream(target), contents);
    EXPECT_EQ(contents, "keep");
}

TEST_F(InstanceGuardTest, AKeyThatIsNoFileNameIsNeverAcquired)
{
    InstanceGuard guard("a/b");
    guard.Acquire();
    EXPECT_FALSE(guard.IsHeld());
}

}  // namespace
