#include "download/CurlClient.h"
#include "download/UrlMd5.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace {

using namespace DownloadTest;
using namespace std::chrono_literals;

// The package-server program, started with arguments and stopped by its id.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), PACKAGE_SERVER_PROGRAM);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, out[1], 2);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        output_ = out[0];
    }
    ~ServerProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) ::close(output_);
    }

    // Reads output until it holds text or the limit passes.
    std::string ReadUntil(const std::string& text, std::chrono::seconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (read_.find(text) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd watched{output_, POLLIN, 0};
            if (::poll(&watched, 1, 100) <= 0) continue;
            char buffer[512];
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n <= 0) break;
            read_.append(buffer, static_cast<std::size_t>(n));
        }
        return read_;
    }

    // Signals the program and waits (bounded) for its exit code; -1 when it did not end.
    int StopWith(int signal) {
        ::kill(pid_, signal);
        for (int i = 0; i < 100; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(50ms);
        }
        return -1;
    }
    int WaitForExit() { return StopWith(0); }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string read_;
};

std::string ListeningUrl(const std::string& output) {
    const std::string marker = "listening on ";
    const std::size_t at = output.find(marker);
    if (at == std::string::npos) return "";
    return output.substr(at + marker.size(), output.find('\n', at) - at - marker.size());
}

TEST(PackageServerProgram, ServesEveryRouteAndStopsCleanly) {
    TempFolder folder;
    WritePackage(folder / "pkg.bin", 2 * kMiB);
    ServerProcess server({"--package", folder / "pkg.bin", "--port", "0"});
    const std::string base = ListeningUrl(server.ReadUntil("final url"));
    ASSERT_FALSE(base.empty());

    for (const std::string route : {"/download_silent", "/download_silent_xp", "/software/359"}) {
        CurlClient client(base + route, folder / "out.exe", nullptr, nullptr);
        EXPECT_EQ(client.Start(), 0) << route;
        EXPECT_TRUE(FilesEqual(folder / "out.exe", folder / "pkg.bin")) << route;
        const std::string& final = client.EffectiveUrl();
        EXPECT_EQ(final.substr(final.rfind('/')), "/nuvaloPDFconverter.exe") << route;
        EXPECT_EQ(Utils::UrlMd5(final).size(), 32u) << route;
    }
    EXPECT_EQ(server.StopWith(SIGTERM), 0);
}

TEST(PackageServerProgram, FaultOptionsReachTheServer) {
    TempFolder folder;
    WritePackage(folder / "pkg.bin", 2 * kMiB);
    ServerProcess server({"--package", folder / "pkg.bin", "--port", "0", "--drop-after", "1048576",
                          "--drop-count", "1"});
    const std::string base = ListeningUrl(server.ReadUntil("final url"));
    ASSERT_FALSE(base.empty());
    CurlClient client(base + "/software/359", folder / "out.exe", nullptr, nullptr);
    EXPECT_EQ(client.Start(), CURLE_PARTIAL_FILE);
    EXPECT_EQ(client.Start(), 0);
    EXPECT_TRUE(FilesEqual(folder / "out.exe", folder / "pkg.bin"));
    EXPECT_EQ(server.StopWith(SIGINT), 0);
}

TEST(PackageServerProgram, BadCommandLinesAreRefused) {
    TempFolder folder;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--package"},
        {"--package", folder / "missing.bin", "--port", "0"},
        {"--package", "x", "--port", "70000"},
        {"--package", "x", "--rate", "fast"},
        {"--what"},
    };
    for (const auto& arguments : cases) {
        ServerProcess server(arguments);
        EXPECT_GT(server.WaitForExit(), 0) << (arguments.empty() ? "" : arguments[0]);
    }
}

}  // namespace
