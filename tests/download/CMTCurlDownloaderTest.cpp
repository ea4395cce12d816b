#include "download/CMTCurlDownloader.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <thread>

namespace {

using namespace DownloadTest;
using namespace std::chrono_literals;

CMTCurlDownloader::Timings FastTimings() {
    CMTCurlDownloader::Timings timings;
    timings.partRetryDelay = 10ms;
    timings.partStagger = 10ms;
    timings.waiterPoll = 10ms;
    timings.stallSeconds = 2;
    return timings;
}

struct MultiPartRun {
    EventRecorder events;
    std::unique_ptr<CMTCurlDownloader> downloader;

    MultiPartRun(const std::string& url, const std::string& target, bool restartOnRetry = true) {
        downloader = std::make_unique<CMTCurlDownloader>(events.Callback(), url, target);
        downloader->SetTimings(FastTimings());
        if (restartOnRetry) events.RestartOnRetry(downloader.get());
    }
    void StartAndWait() {
        downloader->Start();
        EXPECT_TRUE(events.WaitForEnd());
    }
};

std::vector<std::string> RangesRequested(const ServedPackage& package) {
    std::vector<std::string> ranges;
    for (const auto& request : package.RequestsOf("GET")) ranges.push_back(request.range);
    std::sort(ranges.begin(), ranges.end());
    return ranges;
}

// Copies bytes [first, first + count) of the package into a file.
void CopyRange(const std::string& package, int64_t first, int64_t count, const std::string& to) {
    std::ifstream in(package, std::ios::binary);
    in.seekg(first);
    std::string bytes(static_cast<std::size_t>(count), '\0');
    in.read(bytes.data(), count);
    std::ofstream(to, std::ios::binary | std::ios::trunc) << bytes;
}

// Ends the first attempt with DL_CODE_RETRY after progress was reported, so
// that its part files stay for the next attempt.
void FailFirstAttemptAfterProgress(ServedPackage& package, MultiPartRun& run, int64_t size) {
    PackageServer::Faults slow;
    slow.bytesPerSecond = size / 8;
    package.Server().SetFaults(slow);
    run.downloader->Start();
    ASSERT_TRUE(run.events.WaitForCode(DL_CODE_PROGRESS, 30s));
    PackageServer::Faults broken;
    broken.failStatus = 500;
    package.Server().SetFaults(broken);
    package.Server().DropConnections();
    ASSERT_TRUE(run.events.WaitForCode(DL_CODE_RETRY, 30s));
}

TEST(CMTCurlDownloader, SplitsIntoOneOrTwoParts) {
    const struct {
        int64_t length;
        std::vector<int64_t> sizes;
    } cases[] = {
        {256, {256}},
        {20971519, {20971519}},
        {20971520, {10485760, 10485760}},
        {31457281, {15728640, 15728641}},
        {int64_t{5} << 30, {int64_t{5} << 29, int64_t{5} << 29}},  // beyond 32 bits
        {(int64_t{5} << 30) + 1, {int64_t{5} << 29, (int64_t{5} << 29) + 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(CMTCurlDownloader::SplitSizes(c.length), c.sizes) << c.length;
}

TEST(CMTCurlDownloader, PartFilesAreNamedAfterTheTarget) {
    EXPECT_EQ(CMTCurlDownloader::partFilePath("/d/pkg.exe", 0), "/d/pkg.exe_0");
    EXPECT_EQ(CMTCurlDownloader::partFilePath("/d/pkg.exe", 1), "/d/pkg.exe_1");
}

TEST(CMTCurlDownloader, FetchesTheRangesOfItsParts) {
    const struct {
        int64_t size;
        std::vector<std::string> ranges;
    } cases[] = {
        {20971519, {"bytes=0-20971518"}},
        {20971520, {"bytes=0-10485759", "bytes=10485760-20971519"}},
        {31457281, {"bytes=0-15728639", "bytes=15728640-31457280"}},
    };
    for (const auto& c : cases) {
        ServedPackage package(c.size);
        MultiPartRun run(package.RouteUrl(), package.Target());
        run.StartAndWait();
        EXPECT_EQ(run.events.Codes(), (std::vector<int32_t>{DL_CODE_START, DL_CODE_SUCCESS})) << c.size;
        EXPECT_EQ(RangesRequested(package), c.ranges) << c.size;
        EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.size;
        EXPECT_EQ(FileSizeOf(package.Target() + "_0"), -1);
        EXPECT_EQ(FileSizeOf(package.Target() + "_1"), -1);
        EXPECT_TRUE(run.events.ProgressAtMostOncePerSecond());
    }
}

TEST(CMTCurlDownloader, FailedProbeFailsAtOnceWithoutRetry) {
    struct Case {
        const char* name;
        int64_t size;
        int failStatus;
    };
    for (const auto& c : {Case{"255 bytes", 255, 0}, Case{"404 probe", 4096, 404}}) {
        PackageServer::Options options;
        options.faults.failStatus = c.failStatus;
        ServedPackage package(c.size, options);
        MultiPartRun run(package.RouteUrl(), package.Target());
        run.StartAndWait();
        const auto events = run.events.Events();
        ASSERT_EQ(events.size(), 2u) << c.name;
        EXPECT_EQ(events[0].code, DL_CODE_START) << c.name;
        EXPECT_EQ(events[1].code, DL_CODE_FAIL) << c.name;
        EXPECT_EQ(events[1].value, 0.0) << c.name;
        EXPECT_EQ(events[1].text, "LibCurl") << c.name;
        EXPECT_TRUE(package.RequestsOf("GET").empty()) << c.name;
    }
}

TEST(CMTCurlDownloader, VerifiesTheMd5IgnoringCase) {
    for (std::size_t i = 0; i < 4; ++i) {
        PackageServer::Options options;
        options.packageName = "setup.exe";
        ServedPackage package(21 * kMiB, options);
        const Md5Case c = Md5Cases("mtcurl", package.Server().Md5(), "setup.exe")[i];
        package.Server().SetRedirectPath(c.redirectPath);
        MultiPartRun run(package.RouteUrl(), package.Target());
        run.StartAndWait();
        EXPECT_EQ(run.events.Codes(), c.codes) << c.name;
        EXPECT_EQ(NoticeTexts(run.events), c.notices) << c.name;
        if (c.codes.back() == DL_CODE_SUCCESS) {
            EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.name;
        } else {
            EXPECT_EQ(FileSizeOf(package.Target()), -1) << "a mismatching package is deleted";
            EXPECT_EQ(package.RequestsOf("GET").size(), 4u) << "the retry fetches both parts again";
        }
    }
}

TEST(CMTCurlDownloader, RetryResumesOnlyWhatIsMissing) {
    constexpr int64_t kSize = 20 * kMiB;
    constexpr int64_t kHalf = kSize / 2;
    struct Case {
        const char* name;
        int64_t part0Bytes;  // bytes of part 0 present before the retry
        int64_t part1Bytes;
        std::vector<std::string> ranges;
    };
    const Case cases[] = {
        {"part 1 half written", kHalf, kHalf / 2, {"bytes=15728640-20971519"}},
        {"one byte outstanding", kHalf, kHalf - 1, {"bytes=20971519-20971519"}},
        {"part 0 longer than its range", kHalf + 100, kHalf, {"bytes=0-10485759"}},
    };
    for (const auto& c : cases) {
        PackageServer::Options options;
        options.redirectPath = "/files/nuvaloPDFconverter.exe";  // no MD5: only the byte check protects it
        ServedPackage package(kSize, options);
        MultiPartRun run(package.RouteUrl(), package.Target(), false);
        FailFirstAttemptAfterProgress(package, run, kSize);
        const double lastBefore = run.events.ProgressValues().back();

        const std::string part0 = package.Target() + "_0", part1 = package.Target() + "_1";
        CopyRange(package.PackagePath(), 0, std::min(c.part0Bytes, kHalf), part0);
        if (c.part0Bytes > kHalf) std::ofstream(part0, std::ios::binary | std::ios::app) << std::string(100, 'x');
        CopyRange(package.PackagePath(), kHalf, c.part1Bytes, part1);
        PackageServer::Faults slow;
        slow.bytesPerSecond = 4 * kMiB;
        package.Server().SetFaults(slow);
        package.Server().ClearRequests();
        const std::size_t eventsBefore = run.events.Events().size();
        run.downloader->Start();
        ASSERT_TRUE(run.events.WaitForEnd()) << c.name;

        EXPECT_EQ(run.events.Codes().back(), DL_CODE_SUCCESS) << c.name;
        EXPECT_EQ(RangesRequested(package), c.ranges) << c.name;
        EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.name;
        const auto events = run.events.Events();
        for (std::size_t i = eventsBefore; i < events.size(); ++i) {
            if (events[i].code != DL_CODE_PROGRESS) continue;
            EXPECT_GE(events[i].value, lastBefore) << c.name;
        }
        EXPECT_TRUE(run.events.ProgressAtMostOncePerSecond()) << c.name;
    }
}

TEST(CMTCurlDownloader, ServerIgnoringRangesNeverCorruptsAPart) {
    PackageServer::Options options;
    options.faults.ignoreRange = true;
    options.redirectPath = "/files/nuvaloPDFconverter.exe";
    ServedPackage package(20 * kMiB, options);
    MultiPartRun run(package.RouteUrl(), package.Target());
    run.StartAndWait();
    EXPECT_EQ(run.events.Codes(),
              (std::vector<int32_t>{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(run.events.Events().back().value, 23.0) << "the write is refused";
    EXPECT_EQ(FileSizeOf(package.Target()), -1);
    EXPECT_LE(FileSizeOf(package.Target() + "_1"), 0) << "no byte from the wrong offset";
    const auto ranges = RangesRequested(package);
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), "bytes=10485760-20971519"), 2 * 7)
        << "seven tries of part 1 in each attempt";
}

TEST(CMTCurlDownloader, PartFileZeroThatCannotBeMergedFailsTheAttempt) {
    // A folder named like part file 0 with a size equal to the package: the
    // part counts as complete, but it cannot be opened for the merge.
    ServedPackage package(4096);
    const std::string part0 = package.Target() + "_0";
    MultiPartRun run(package.RouteUrl(), package.Target());
    ASSERT_EQ(::mkdir(part0.c_str(), 0700), 0);
    std::ofstream(part0 + "/keep") << "x";
    if (FileSizeOf(part0) != 4096) GTEST_SKIP() << "folders here are not 4096 bytes";
    run.StartAndWait();
    EXPECT_EQ(run.events.Codes(),
              (std::vector<int32_t>{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(run.events.Events().back().value, -2.0);
    EXPECT_EQ(FileSizeOf(package.Target()), -1);
}

TEST(CMTCurlDownloader, DestructionMidTransferStopsAndJoinsEveryThread) {
    PackageServer::Options options;
    options.faults.bytesPerSecond = 8 * kMiB;
    ServedPackage package(24 * kMiB, options);
    DestroyMidTransferRepeatedly(MakerOf<CMTCurlDownloader>(package.RouteUrl(), package.Target(),
                                             [](CMTCurlDownloader& d) { d.SetTimings(FastTimings()); }),
                                 8, 400ms, 10s);
}

TEST(CMTCurlDownloader, DestructionWhileRetryingFromTheWaiter) {
    PackageServer::Options options;
    options.redirectPath = "/ffffffffffffffffffffffffffffffff/nuvaloPDFconverter.exe";
    ServedPackage package(2 * kMiB, options);
    for (int round = 0; round < 5; ++round) {
        EventRecorder events;
        {
            CMTCurlDownloader downloader(events.Callback(), package.RouteUrl(), package.Target());
            downloader.SetTimings(FastTimings());
            events.RestartOnRetry(&downloader);
            downloader.Start();
            events.WaitForCode(DL_CODE_RETRY, 10s);
        }
    }
}

}  // namespace
