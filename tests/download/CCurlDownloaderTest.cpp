#include "download/CCurlDownloader.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

using namespace DownloadTest;
using namespace std::chrono_literals;

CCurlDownloader::Timings FastTimings(long stallSeconds = 60) {
    CCurlDownloader::Timings timings;
    timings.retryDelay = 10ms;
    timings.stallSeconds = stallSeconds;
    return timings;
}

// Runs one downloader to its end, restarting it on DL_CODE_RETRY.
struct DownloadRun {
    EventRecorder events;
    std::unique_ptr<CCurlDownloader> downloader;

    DownloadRun(const std::string& url, const std::string& target, CCurlDownloader::Timings timings = FastTimings()) {
        downloader = std::make_unique<CCurlDownloader>(events.Callback(), url, target);
        downloader->SetTimings(timings);
        events.RestartOnRetry(downloader.get());
    }
    void StartAndWait() {
        downloader->Start();
        EXPECT_TRUE(events.WaitForEnd());
    }
};

TEST(CCurlDownloader, VerifiesTheMd5OfTheFinalUrl) {
    for (std::size_t i = 0; i < 4; ++i) {
        ServedPackage served(3 * kMiB);
        const Md5Case c = Md5Cases("curl", served.Server().Md5(), "nuvaloPDFconverter.exe")[i];
        served.Server().SetRedirectPath(c.redirectPath);
        DownloadRun run(served.RouteUrl(), served.Target());
        run.StartAndWait();
        EXPECT_EQ(run.events.Codes(), c.codes) << c.name;
        EXPECT_EQ(NoticeTexts(run.events), c.notices) << c.name;
        for (const auto& event : run.events.Events()) {
            if (event.code != DL_CODE_SUCCESS && event.code != DL_CODE_FAIL && event.code != DL_CODE_RETRY) continue;
            EXPECT_EQ(event.value, 0.0) << c.name;
            EXPECT_EQ(event.text, "LibCurl") << c.name;
        }
        if (c.codes.back() == DL_CODE_SUCCESS) {
            EXPECT_TRUE(FilesEqual(served.Target(), served.PackagePath())) << c.name;
        } else {
            EXPECT_EQ(served.RequestsOf("GET").size(), 2u) << "the retry downloads again";
        }
    }
}

TEST(CCurlDownloader, TransferFailuresSpendCredits) {
    struct Case {
        const char* name;
        int failure;
        int failures;
        int expectedTransfers;
        std::vector<int32_t> codes;
        double failValue;
    };
    const Case cases[] = {
        {"five 7s then success", CURLE_COULDNT_CONNECT, 5, 6, {DL_CODE_START, DL_CODE_SUCCESS}, 0},
        {"six 7s", CURLE_COULDNT_CONNECT, 6, 6, {DL_CODE_START, DL_CODE_FAIL}, 7.0},
        {"eleven 18s then success", CURLE_PARTIAL_FILE, 11, 12, {DL_CODE_START, DL_CODE_SUCCESS}, 0},
        {"twelve 18s", CURLE_PARTIAL_FILE, 12, 12, {DL_CODE_START, DL_CODE_FAIL}, 18.0},
    };
    for (const auto& c : cases) {
        ServedPackage package(2 * kMiB);
        DownloadRun run(package.RouteUrl(), package.Target());
        std::atomic<int> transfers{0};
        run.downloader->SetTransfer([&](CurlClient& client) {
            return ++transfers <= c.failures ? c.failure : client.Start();
        });
        run.StartAndWait();
        EXPECT_EQ(transfers, c.expectedTransfers) << c.name;
        EXPECT_EQ(run.events.Codes(), c.codes) << c.name;
        const auto events = run.events.Events();
        if (c.codes.back() == DL_CODE_FAIL) {
            EXPECT_EQ(events.back().value, c.failValue) << c.name;
        }
    }
}

TEST(CCurlDownloader, PackageBelowOneMebibyteFailsWithItsCodeAfterSixAttempts) {
    ServedPackage package(kMiB - 1);
    DownloadRun run(package.RouteUrl(), package.Target());
    std::atomic<int> transfers{0};
    run.downloader->SetTransfer([&](CurlClient& client) {
        ++transfers;
        return client.Start();
    });
    run.StartAndWait();
    EXPECT_EQ(transfers, 6);
    EXPECT_EQ(run.events.Codes(), (std::vector<int32_t>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(run.events.Events().back().value, -998.0);
    EXPECT_EQ(run.events.Events().back().text, "LibCurl");
    EXPECT_TRUE(package.RequestsOf("GET").empty());
}

TEST(CCurlDownloader, NotFoundTransfersFailWithHttpError) {
    ServedPackage package(2 * kMiB);
    DownloadRun run(package.RouteUrl(), package.Target());
    std::atomic<int> transfers{0};
    run.downloader->SetTransfer([&](CurlClient& client) {
        if (transfers++ == 0) {  // a dropped first transfer fills the probe cache; then every GET gets 404
            PackageServer::Faults notFound;
            notFound.failStatus = 404;
            notFound.failCount = -1;
            PackageServer::Faults dropOnce;
            dropOnce.dropAfterBytes = kMiB / 2;
            dropOnce.dropCount = 1;
            package.Server().SetFaults(dropOnce);
            const int first = client.Start();
            package.Server().SetFaults(notFound);
            return first;
        }
        return client.Start();
    });
    run.StartAndWait();
    EXPECT_EQ(run.events.Codes(), (std::vector<int32_t>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(run.events.Events().back().value, 22.0);
    EXPECT_EQ(transfers, 7) << "one partial failure (one credit), then six 404s (two each)";
}

TEST(CCurlDownloader, EmptyTargetPathFailsAtOnce) {
    EventRecorder events;
    CCurlDownloader downloader(events.Callback(), "http://127.0.0.1:1/x", "");
    downloader.Start();
    ASSERT_TRUE(events.WaitForEnd());
    const auto all = events.Events();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].code, DL_CODE_START);
    EXPECT_EQ(all[0].value, 1.0);
    EXPECT_EQ(all[1].code, DL_CODE_FAIL);
    EXPECT_EQ(all[1].value, 1.0);
    EXPECT_EQ(all[1].text, "");
}

TEST(CCurlDownloader, ProgressAdapterPassesOnlyPlausibleProgress) {
    EventRecorder events;
    CCurlDownloader downloader(events.Callback(), "http://127.0.0.1:1/x", "/nonexistent/x");
    CCurlDownloader::progressAdapter(&downloader, 1000.0, 0.0, 100.5);  // resumed bytes counted twice
    CCurlDownloader::progressAdapter(&downloader, 0.0, 0.0, 50.0);      // no speed yet
    CCurlDownloader::progressAdapter(&downloader, 1000.0, 0.0, 25.0);
    CCurlDownloader::progressAdapter(&downloader, 1000.0, 0.0, 100.0);
    EXPECT_EQ(events.ProgressValues(), (std::vector<double>{0.25, 1.0}));
}

TEST(CCurlDownloader, ConstructionRemovesAStalePartFile) {
    TempFolder folder;
    std::ofstream(folder / "pkg.exe.part") << "stale";
    EventRecorder events;
    CCurlDownloader downloader(events.Callback(), "http://127.0.0.1:1/x", folder / "pkg.exe");
    EXPECT_EQ(FileSizeOf(folder / "pkg.exe.part"), -1);
}

TEST(CCurlDownloader, BigPackageArrivesIntactThroughFaults) {
    struct Case {
        const char* name;
        PackageServer::Faults faults;
        long stallSeconds;
    };
    PackageServer::Faults dropEvery20;
    dropEvery20.dropAfterBytes = kBigPackage / 10;
    PackageServer::Faults ignoreRange;
    ignoreRange.dropAfterBytes = kBigPackage / 2;
    ignoreRange.dropCount = 1;
    ignoreRange.ignoreRange = true;
    PackageServer::Faults stallOnce;
    stallOnce.stallAfterBytes = kBigPackage / 2;
    stallOnce.stallMilliseconds = 15000;
    const Case cases[] = {
        {"dropped every tenth", dropEvery20, 60},
        {"range ignored on resume", ignoreRange, 60},
        {"stalled once", stallOnce, 1},
    };
    for (const auto& c : cases) {
        PackageServer::Options options;
        options.faults = c.faults;
        ServedPackage package(kBigPackage, options);
        DownloadRun run(package.RouteUrl(), package.Target(), FastTimings(c.stallSeconds));
        run.StartAndWait();
        EXPECT_EQ(run.events.Codes(), (std::vector<int32_t>{DL_CODE_START, DL_CODE_SUCCESS})) << c.name;
        EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.name;
        EXPECT_GE(package.RequestsOf("GET").size(), 2u) << c.name;
        const auto progress = run.events.ProgressValues();
        for (double value : progress) EXPECT_LE(value, 1.0) << c.name;
    }
}

TEST(CCurlDownloader, DestructionMidTransferStopsAndJoins) {
    PackageServer::Options options;
    options.faults.bytesPerSecond = 4 * kMiB;
    ServedPackage package(8 * kMiB, options);
    DestroyMidTransferRepeatedly(MakerOf<CCurlDownloader>(package.RouteUrl(), package.Target(),
                                             [](CCurlDownloader& d) { d.SetTimings(FastTimings()); }),
                                 8, 300ms, 5s);
    EXPECT_EQ(FileSizeOf(package.Target() + ".part"), -1);
}

TEST(CCurlDownloader, DestructionDuringTheRetryPauseEndsAtOnce) {
    EventRecorder events;
    const auto begun = std::chrono::steady_clock::now();
    {
        CCurlDownloader downloader(events.Callback(), "http://127.0.0.1:1/x", "/nonexistent/x");
        CCurlDownloader::Timings slow;
        slow.retryDelay = 60s;
        downloader.SetTimings(slow);
        downloader.SetTransfer([](CurlClient&) { return CURLE_COULDNT_CONNECT; });
        downloader.Start();
        ASSERT_TRUE(events.WaitForCode(DL_CODE_START, 10s));
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 5s);
    EXPECT_EQ(events.Codes(), (std::vector<int32_t>{DL_CODE_START}));
}

}  // namespace
