#include "utils/FindProcessId.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

namespace {

// A copy of sleep under a name of its own, stopped by its id when the test ends.
class NamedSleeper {
public:
    NamedSleeper(const TempFolder& folder, const std::string& name) {
        const std::string program = folder / name;
        std::filesystem::copy_file("/bin/sleep", program);
        char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("30"), nullptr};
        if (::posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = 0;
    }
    ~NamedSleeper() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = 0;
};

TEST(FindProcessId, FindsByExactExecutableName) {
    TempFolder folder;
    const NamedSleeper sleeper(folder, "NuvaloProbeSleeper");
    ASSERT_GT(sleeper.Pid(), 0);
    EXPECT_EQ(Utils::FindProcessId("NuvaloProbeSleeper"), static_cast<uint32_t>(sleeper.Pid()));
    EXPECT_EQ(Utils::FindProcessId("nuvaloprobesleeper"), 0u);
    EXPECT_EQ(Utils::FindProcessId("NuvaloProbeSleepe"), 0u);
    EXPECT_EQ(Utils::FindProcessId(folder / "NuvaloProbeSleeper"), 0u);
    EXPECT_EQ(Utils::FindProcessId(""), 0u);
}

}  // namespace
