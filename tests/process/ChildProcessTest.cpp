#include "utils/ChildProcess.h"
#include "utils/Exception.h"

#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

namespace {

using Utils::ChildProcess;

// A shell command as the single quoted argument of /bin/sh -c (no double quotes inside).
std::string Shell(const std::string& script) {
    return "/bin/sh -c \"" + script + "\"";
}

std::string ReadAll(ChildProcess& child, std::vector<std::size_t>* chunkSizes = nullptr) {
    std::string all;
    std::string chunk;
    for (int guard = 0; guard < 100000 && child.ReadOutput(chunk); ++guard) {
        if (chunkSizes) chunkSizes->push_back(chunk.size());
        all += chunk;
    }
    return all;
}

void WaitUntilEnded(ChildProcess& child) {
    for (int i = 0; i < 500 && child.ExitStatus() == ChildProcess::kStillActive; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_NE(child.ExitStatus(), ChildProcess::kStillActive);
}

std::set<std::string> OpenDescriptors() {
    std::set<std::string> fds;
    DIR* dir = ::opendir("/proc/self/fd");
    for (dirent* entry; dir && (entry = ::readdir(dir));) {
        if (entry->d_name[0] != '.') fds.insert(entry->d_name);
    }
    if (dir) ::closedir(dir);
    return fds;
}

TEST(ChildProcess, SilentChildGivesNoChunkAndItsExitCode) {
    ChildProcess child;
    child.Start(Shell("exit 7"));
    std::string chunk;
    EXPECT_FALSE(child.ReadOutput(chunk));
    EXPECT_EQ(child.Wait(), 7u);
    EXPECT_EQ(child.ExitStatus(), 7u);
}

TEST(ChildProcess, ReportsStillActiveWhileRunningAndSignalDeathAfterwards) {
    ChildProcess child;
    child.Start(Shell("sleep 0.3; kill -9 $$"));
    EXPECT_EQ(child.ExitStatus(), ChildProcess::kStillActive);
    EXPECT_EQ(child.Wait(), 128u + 9u);
}

TEST(ChildProcess, EndedChildStillDeliversEverythingInChunksCutAnywhere) {
    // 1023 ASCII bytes, then a three-byte character that the 1024-byte read cuts.
    ChildProcess child;
    child.Start(Shell("head -c 1023 /dev/zero | tr '\\0' x; printf '\\344\\270\\255\\nline2\\n'"));
    WaitUntilEnded(child);
    std::vector<std::size_t> sizes;
    const std::string all = ReadAll(child, &sizes);
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], ChildProcess::kChunkBytes);
    EXPECT_EQ(all, std::string(1023, 'x') + "中\nline2\n");
}

TEST(ChildProcess, ChunkIsCutAtTheFirstNul) {
    ChildProcess child;
    child.Start(Shell("printf 'ab\\000cd'"));
    WaitUntilEnded(child);
    std::string chunk;
    ASSERT_TRUE(child.ReadOutput(chunk));
    EXPECT_EQ(chunk, "ab");
}

TEST(ChildProcess, MissingProgramRaisesAndLeavesNoDescriptorOpen) {
    const auto before = OpenDescriptors();
    for (const char* line : {"/nonexistent/program /S", "\"/no such/dir/pkg.exe\" -x", "no-such-program-on-path"}) {
        auto child = std::make_unique<ChildProcess>();
        EXPECT_THROW(child->Start(line), Utils::Exception) << line;
        child.reset();
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(ChildProcess, CommandLineOver1023CharactersIsAStartFailure) {
    const std::string prefix = "/bin/true ";
    ChildProcess longOne;
    EXPECT_THROW(longOne.Start(prefix + std::string(1024 - prefix.size(), 'a')), Utils::Exception);
    // Counted in characters, not bytes: 1023 characters of which many are multi-byte fit.
    std::string chinese;
    for (std::size_t i = prefix.size(); i < 1023; ++i) chinese += "中";
    ChildProcess fits;
    EXPECT_NO_THROW(fits.Start(prefix + chinese));
    EXPECT_EQ(fits.Wait(), 0u);
}

// Descriptors this process was started with and that it lets children inherit.
std::set<std::string> InheritableDescriptors() {
    std::set<std::string> inheritable;
    for (const auto& fd : OpenDescriptors()) {
        const int flags = ::fcntl(std::stoi(fd), F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC)) inheritable.insert(fd);
    }
    return inheritable;
}

TEST(ChildProcess, ChildGetsNoneOfOurPipeEnds) {
    ChildProcess child;
    child.Start("/bin/ls -l /proc/self/fd");
    std::istringstream listing(ReadAll(child));
    child.Wait();
    const auto inheritable = InheritableDescriptors();
    std::set<std::string> seen;
    for (std::string line; std::getline(listing, line);) {
        // "lr-x------ 1 root root 64 Dec 11 13:00 4 -> /proc/1234/fd": the entry ls opened
        // to read the folder, at whatever number was free, is its own.
        const std::size_t arrow = line.find(" -> ");
        if (arrow == std::string::npos) continue;
        const std::string target = line.substr(arrow + 4);
        if (target.starts_with("/proc/") && target.ends_with("/fd")) continue;
        seen.insert(line.substr(line.rfind(' ', arrow - 1) + 1, arrow - line.rfind(' ', arrow - 1) - 1));
    }
    for (const char* standard : {"0", "1", "2"}) EXPECT_EQ(seen.erase(standard), 1u) << standard;
    for (const auto& fd : seen) EXPECT_TRUE(inheritable.count(fd)) << "leaked descriptor " << fd;
}

TEST(ChildProcess, FloodOfStandardErrorCannotBlockTheChild) {
    ChildProcess child;
    child.Start(Shell("head -c 10000000 /dev/zero >&2; echo done"));
    EXPECT_EQ(ReadAll(child), "done\n");
    EXPECT_EQ(child.Wait(), 0u);
}

TEST(ChildProcess, WaitThrowsAwayOutputSoTheChildCannotBlock) {
    ChildProcess child;
    child.Start(Shell("head -c 3000000 /dev/zero; exit 3"));
    EXPECT_EQ(child.Wait(), 3u);
}

TEST(ChildProcess, UnquotedProgramPathWithBlanksIsFound) {
    const auto folder = std::filesystem::temp_directory_path() / ("proc test 程序 " + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto program = folder / "say hi.sh";
    std::ofstream(program) << "#!/bin/sh\necho \"$1|$2\"\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    ChildProcess child;
    child.Start(program.string() + " /S \"two words\"");
    EXPECT_EQ(ReadAll(child), "/S|two words\n");
    child.Wait();
    std::filesystem::remove_all(folder);
}

TEST(ChildProcess, CloseIsSafeTwiceAndWithoutStart) {
    ChildProcess never;
    never.Close();
    never.Close();
    ChildProcess child;
    child.Start(Shell("exit 0"));
    child.Wait();
    child.Close();
    child.Close();
    std::string chunk;
    EXPECT_FALSE(child.ReadOutput(chunk));
}

}  // namespace
