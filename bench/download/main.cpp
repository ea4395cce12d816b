// Download throughput on loopback: the package downloaders against the curl
// command-line tool, and the MD5 check against md5sum, on one 512 MiB file
// served by the package server on 127.0.0.1.
// Then the two-part downloader against aria2c with two connections, on plain
// loopback and with the server capping each connection at 20 MiB/s.
//   download_bench [rounds] [size-in-MiB] [rounds-under-the-cap]
#include "download/CCurlDownloader.h"
#include "download/CMTCurlDownloader.h"
#include "tools/packageserver/PackageServer.h"
#include "tools/packageserver/PatternFile.h"
#include "utils/FileMd5.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double SecondsOf(const std::function<bool()>& work) {
    const auto begun = Clock::now();
    if (!work()) {
        std::fprintf(stderr, "a round failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - begun).count();
}

bool RunQuietly(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs a downloader of type D until its final event.
template <typename D>
bool Download(const std::string& url, const std::string& target) {
    std::mutex mutex;
    std::condition_variable ended;
    int32_t last = 0;
    {
        D downloader(
            [&](int32_t code, double, const std::string&) {
                if (code != DL_CODE_SUCCESS && code != DL_CODE_FAIL && code != DL_CODE_RETRY) return;
                std::lock_guard lock(mutex);
                last = code;
                ended.notify_all();
            },
            url, target);
        downloader.Start();
        std::unique_lock lock(mutex);
        ended.wait(lock, [&] { return last != 0; });
    }
    return last == DL_CODE_SUCCESS;
}

struct Contender {
    std::string name;
    std::function<bool(const std::string& target)> run;
};

std::vector<double> Measure(const Contender& contender, const std::string& target, int rounds) {
    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove(target);
        seconds.push_back(SecondsOf([&] { return contender.run(target); }));
    }
    std::filesystem::remove(target);
    return seconds;
}

void Report(const std::vector<Contender>& contenders, const std::string& target, int rounds, double mebibytes,
            const std::string& baseline) {
    std::vector<double> medians;
    for (const auto& contender : contenders) {
        medians.push_back(Median(Measure(contender, target, rounds)));
        std::printf("  %-34s median %7.3f s  %8.1f MiB/s\n", contender.name.c_str(), medians.back(),
                    mebibytes / medians.back());
        std::fflush(stdout);
    }
    const auto base = std::find_if(contenders.begin(), contenders.end(), [&](auto& c) { return c.name == baseline; });
    const double baseMedian = medians[static_cast<std::size_t>(base - contenders.begin())];
    for (std::size_t i = 0; i < contenders.size(); ++i)
        if (contenders[i].name != baseline)
            std::printf("  ratio %s / %s = %.2f\n", contenders[i].name.c_str(), baseline.c_str(), baseMedian / medians[i]);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int64_t mebibytes = argc > 2 ? std::max(2, std::atoi(argv[2])) : 512;
    const int cappedRounds = argc > 3 ? std::max(0, std::atoi(argv[3])) : 1;
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/download-bench.XXXXXX";
    if (!::mkdtemp(folder.data())) return 1;
    const std::string package = folder + "/package.bin";
    const std::string target = folder + "/out.exe";
    if (!WritePatternFile(package, mebibytes << 20)) return 1;

    PackageServer::Options options;
    options.packagePath = package;
    PackageServer server(options);
    std::string error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // Without an MD5 segment the downloaders skip the check: transfer speed alone.
    const std::string unchecked = server.BaseUrl() + "/files/" + options.packageName;
    const std::string checked = server.BaseUrl() + "/download_silent";
    std::printf("%lld MiB from %s, %d rounds\n", static_cast<long long>(mebibytes), server.BaseUrl().c_str(), rounds);

    auto curlTool = [&](const std::string& t) { return RunQuietly({"curl", "-s", "-f", "-o", t, unchecked}); };
    auto aria2 = [&](const std::string& t) {
        const std::filesystem::path path(t);
        return RunQuietly({"aria2c", "-q", "-x2", "-s2", "--file-allocation=none", "--allow-overwrite=true",
                           "--auto-file-renaming=false", "-d", path.parent_path().string(), "-o",
                           path.filename().string(), unchecked});
    };
    auto single = [&](const std::string& t) { return Download<CCurlDownloader>(unchecked, t); };
    auto twoParts = [&](const std::string& t) { return Download<CMTCurlDownloader>(unchecked, t); };
    const double size = static_cast<double>(mebibytes);

    std::printf("single stream on loopback:\n");
    Report({{"curl", curlTool},
            {"CCurlDownloader", single},
            {"CCurlDownloader with MD5 check", [&](const std::string& t) { return Download<CCurlDownloader>(checked, t); }}},
           target, rounds, size, "curl");

    std::printf("two parts on loopback:\n");
    Report({{"curl", curlTool},
            {"aria2c -x2 -s2", aria2},
            {"CMTCurlDownloader", twoParts},
            {"CMTCurlDownloader with MD5 check", [&](const std::string& t) { return Download<CMTCurlDownloader>(checked, t); }}},
           target, rounds, size, "curl");

    if (cappedRounds > 0) {
        constexpr int64_t kCap = 20 << 20;
        PackageServer::Faults capped;
        capped.bytesPerSecond = kCap;
        server.SetFaults(capped);
        std::printf("each connection capped at 20 MiB/s (two connections: 40 MiB/s at most):\n");
        Report({{"CCurlDownloader", single}, {"aria2c -x2 -s2", aria2}, {"CMTCurlDownloader", twoParts}}, target,
               cappedRounds, size, "CCurlDownloader");
        server.SetFaults({});
    }

    std::printf("MD5 of the package (1024-byte reads):\n");
    Report({{"md5sum", [&](const std::string&) { return RunQuietly({"md5sum", package}); }},
            {"Utils::FileMd5", [&](const std::string&) { return Utils::FileMd5(package).size() == 32; }}},
           target, rounds, static_cast<double>(mebibytes), "md5sum");

    server.Stop();
    std::filesystem::remove_all(folder);
    return 0;
}
