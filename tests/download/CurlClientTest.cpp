#include "download/CurlClient.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <mutex>

namespace {

using namespace DownloadTest;

struct ProgressLog {
    std::mutex mutex;
    std::vector<double> percents;
    static void Hook(void* owner, double, double, double percent) {
        auto* self = static_cast<ProgressLog*>(owner);
        std::lock_guard lock(self->mutex);
        self->percents.push_back(percent);
    }
};

TEST(CurlClient, FetchesThroughTheRedirectAndRenamesThePartFile) {
    ServedPackage package(3 * kMiB);
    CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
    EXPECT_EQ(client.Start(), 0);
    EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath()));
    EXPECT_EQ(FileSizeOf(client.GetFilePath(true)), -1);
    EXPECT_EQ(client.EffectiveUrl(), package.Server().FinalUrl());
    EXPECT_EQ(client.FileLength(), 3.0 * kMiB);
    ASSERT_EQ(package.RequestsOf("GET").size(), 1u);
    EXPECT_EQ(package.RequestsOf("GET")[0].range, "");  // first attempt: no resume offset
}

TEST(CurlClient, PartFileNameHasPartSuffix) {
    CurlClient client("http://127.0.0.1:1/x", "/tmp/some/pkg.exe", nullptr, nullptr);
    EXPECT_EQ(client.GetFilePath(true), "/tmp/some/pkg.exe.part");
    EXPECT_EQ(client.GetFilePath(false), "/tmp/some/pkg.exe");
}

TEST(CurlClient, RefusesPackagesBelowOneMebibyteWithoutTransfer) {
    ServedPackage package(kMiB - 1);
    CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
    EXPECT_EQ(client.Start(), CurlClient::kTooShort);
    EXPECT_TRUE(package.RequestsOf("GET").empty());
    EXPECT_EQ(FileSizeOf(package.Target()), -1);
}

TEST(CurlClient, UnknownOrFailedLengthCountsAsTooShort) {
    struct Case {
        const char* name;
        PackageServer::Faults faults;
    };
    PackageServer::Faults notFound;
    notFound.failStatus = 404;
    PackageServer::Faults lyingLength;
    lyingLength.announcedLength = 1000;
    for (const auto& c : {Case{"404 probes", notFound}, Case{"short announced length", lyingLength}}) {
        PackageServer::Options options;
        options.faults = c.faults;
        ServedPackage package(2 * kMiB, options);
        CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
        EXPECT_EQ(client.Start(), CurlClient::kTooShort) << c.name;
        EXPECT_TRUE(package.RequestsOf("GET").empty()) << c.name;
    }
}

TEST(CurlClient, SecondStartAfterDropSkipsProbesAndResumesFromPartFile) {
    ServedPackage package(3 * kMiB, DropOnceAfter(kMiB + 123));
    std::ofstream(package.Target()) << "previous package";
    CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);

    EXPECT_EQ(client.Start(), CURLE_PARTIAL_FILE);
    const int64_t kept = FileSizeOf(client.GetFilePath(true));
    EXPECT_EQ(kept, kMiB + 123);
    EXPECT_EQ(FileSizeOf(package.Target()), 16) << "a failed transfer leaves the target alone";

    package.Server().ClearRequests();
    EXPECT_EQ(client.Start(), 0);
    const auto requests = package.Server().Requests();
    ASSERT_EQ(requests.size(), 1u) << "no probe on the second attempt";
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].range, "bytes=" + std::to_string(kept) + "-");
    EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath()));
}

TEST(CurlClient, TransferAfterADroppedOneDependsOnTheServersAnswer) {
    struct Case {
        const char* name;
        PackageServer::Faults faults;
        int result;
        int64_t partFileSize;  // -1: renamed onto the target
    };
    PackageServer::Faults notFound;
    notFound.failStatus = 404;
    PackageServer::Faults ignoreRange;  // the whole body again: the part file starts over
    ignoreRange.ignoreRange = true;
    const Case cases[] = {
        {"404", notFound, CURLE_HTTP_RETURNED_ERROR, kMiB},
        {"range ignored", ignoreRange, 0, -1},
    };
    for (const auto& c : cases) {
        ServedPackage package(3 * kMiB, DropOnceAfter(kMiB));
        CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
        ASSERT_EQ(client.Start(), CURLE_PARTIAL_FILE) << c.name;
        package.Server().SetFaults(c.faults);
        EXPECT_EQ(client.Start(), c.result) << c.name;
        EXPECT_EQ(FileSizeOf(client.GetFilePath(true)), c.partFileSize) << c.name;
        if (c.result == 0) {
            EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.name;
        }
    }
}

TEST(CurlClient, PartFileAsLongAsThePackageStartsAgain) {
    ServedPackage package(2 * kMiB);
    WritePackage(package.Target() + ".part", 2 * kMiB, 99);
    CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
    EXPECT_EQ(client.Start(), 0);
    EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath()));
}

TEST(CurlClient, PartFileThatCannotBeOpenedGivesItsOwnCode) {
    ServedPackage package(2 * kMiB);
    const std::string target = package.Folder() / "missing-folder/out.exe";
    CurlClient client(package.RouteUrl(), target, nullptr, nullptr);
    EXPECT_EQ(client.Start(), CurlClient::kPartFileError);
}

TEST(CurlClient, StalledTransferFailsWithTimeout) {
    PackageServer::Options options;
    options.faults.stallAfterBytes = kMiB;
    options.faults.stallMilliseconds = 10000;
    ServedPackage package(2 * kMiB, options);
    CurlClient client(package.RouteUrl(), package.Target(), nullptr, nullptr);
    client.SetStallTimeout(1);
    EXPECT_EQ(client.Start(), CURLE_OPERATION_TIMEDOUT);
    EXPECT_EQ(FileSizeOf(client.GetFilePath(true)), kMiB);
}

TEST(CurlClient, ReportedPercentCountsResumedBytes) {
    ServedPackage package(4 * kMiB, DropOnceAfter(2 * kMiB));
    ProgressLog log;
    CurlClient client(package.RouteUrl(), package.Target(), &log, &ProgressLog::Hook);
    ASSERT_EQ(client.Start(), CURLE_PARTIAL_FILE);
    {
        std::lock_guard lock(log.mutex);
        log.percents.clear();
    }
    PackageServer::Faults slow;
    slow.bytesPerSecond = kMiB;
    package.Server().SetFaults(slow);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(client.Start(), 0);
    // A loaded machine stretches the transfer; the bound follows the time it really took.
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    std::lock_guard lock(log.mutex);
    ASSERT_FALSE(log.percents.empty());
    EXPECT_GE(log.percents.front(), 50.0);
    EXPECT_LE(log.percents.back(), 100.0);
    EXPECT_LE(log.percents.size(), static_cast<size_t>(seconds.count()) + 1) << "at most once a second";
}

TEST(CurlClient, ProgressCallbackReportsNothingAtZeroAndStopsOnRequest) {
    ProgressLog log;
    CurlClient atZero("http://127.0.0.1:1/x", "/nonexistent/x", &log, &ProgressLog::Hook);
    EXPECT_EQ(CurlClient::ProgressCallback(&atZero, 100, 0, 0, 0), 0);
    CurlClient noTotal("http://127.0.0.1:1/x", "/nonexistent/x", &log, &ProgressLog::Hook);
    EXPECT_EQ(CurlClient::ProgressCallback(&noTotal, 0, 10, 0, 0), 0);
    EXPECT_TRUE(log.percents.empty());

    CurlClient halfway("http://127.0.0.1:1/x", "/nonexistent/x", &log, &ProgressLog::Hook);
    EXPECT_EQ(CurlClient::ProgressCallback(&halfway, 200, 100, 0, 0), 0);
    ASSERT_EQ(log.percents.size(), 1u);
    EXPECT_EQ(log.percents[0], 50.0);

    halfway.RequestStop();
    EXPECT_EQ(CurlClient::ProgressCallback(&halfway, 200, 150, 0, 0), 1);
}

TEST(CurlClient, DestructionDeletesThePartFile) {
    TempFolder folder;
    const std::string target = folder / "pkg.exe";
    {
        CurlClient client("http://127.0.0.1:1/x", target, nullptr, nullptr);
        std::ofstream(client.GetFilePath(true)) << "partial";
    }
    EXPECT_EQ(FileSizeOf(target + ".part"), -1);
}

TEST(CurlClient, PackagesOfTwoGibibytesAndMoreResumeAtTheirOffset) {
    // Sparse files: only the last 2 MiB hold data and only they travel.
    constexpr int64_t kTwoGiB = int64_t{2} << 30;
    TempFolder folder;
    const std::string served = folder / "big.bin";
    WritePackage(folder / "tail.bin", 2 * kMiB, 7);
    {
        std::ofstream out(served, std::ios::binary);
        out.seekp(kTwoGiB);
        std::ifstream tail(folder / "tail.bin", std::ios::binary);
        out << tail.rdbuf();
    }
    PackageServer::Options options;
    options.packagePath = served;
    options.md5 = "0123456789abcdef0123456789abcdef";
    PackageServer server(options);
    ASSERT_TRUE(server.Start());
    const std::string target = folder / "out.exe";
    { std::ofstream(target + ".part"); }
    ASSERT_EQ(::truncate((target + ".part").c_str(), kTwoGiB), 0);

    CurlClient client(server.BaseUrl() + "/software/359", target, nullptr, nullptr);
    EXPECT_EQ(client.Start(), 0);
    EXPECT_EQ(client.FileLength(), static_cast<double>(kTwoGiB + 2 * kMiB));
    EXPECT_EQ(FileSizeOf(target), kTwoGiB + 2 * kMiB);
    bool sawRange = false;
    for (const auto& request : server.Requests())
        if (request.method == "GET") sawRange = request.range == "bytes=" + std::to_string(kTwoGiB) + "-";
    EXPECT_TRUE(sawRange);
    std::ifstream result(target, std::ios::binary), tail(folder / "tail.bin", std::ios::binary);
    result.seekg(kTwoGiB);
    std::string got((std::istreambuf_iterator<char>(result)), {});
    std::string want((std::istreambuf_iterator<char>(tail)), {});
    EXPECT_TRUE(got == want);
}

}  // namespace
