#include "download/WinHttpClient.h"
#include "download/WinHttpDownloader.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

using namespace DownloadTest;
using namespace std::chrono_literals;

// Pages with particular headers, on 127.0.0.1 and a free port.
class PageServer {
public:
    PageServer() {
        server_.Get("/utf8", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<html>\xe4\xb8\xad\xe6\x96\x87</html>", "text/html; charset=UTF-8");
        });
        server_.Get("/cookies", [this](const httplib::Request&, httplib::Response& response) {
            ++cookieRequests;
            response.set_header("Set-Cookie", "a=1");
            response.set_header("Set-Cookie", "b=2");
            response.set_content("ok", "text/plain");
        });
        server_.Get("/truncated", [this](const httplib::Request&, httplib::Response& response) {
            ++truncatedRequests;
            response.set_content("<html><body>cut here", "text/html");
        });
        server_.Get("/moved", [](const httplib::Request&, httplib::Response& response) {
            response.status = 200;
            response.set_header("Location", "http://example.invalid/next");
            response.set_content("", "text/plain");
        });
        server_.Get("/missing", [](const httplib::Request&, httplib::Response& response) { response.status = 404; });
        server_.Post("/form", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("posted", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    std::atomic<int> truncatedRequests{0};
    std::atomic<int> cookieRequests{0};

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

TEST(WinHttpClient, AcceptsOnlyGetAndPostInAnyCase) {
    PageServer pages;
    const struct {
        const char* verb;
        bool sent;
        uint32_t error;
    } cases[] = {{"PUT", false, 87}, {"DELETE", false, 87}, {"get", true, 0}, {"GET", true, 0}};
    for (const auto& c : cases) {
        WinHttpClient client(pages.Url("/cookies"));
        EXPECT_EQ(client.SendHttpRequest(c.verb), c.sent) << c.verb;
        EXPECT_EQ(client.GetLastError(), c.error) << c.verb;
    }
    EXPECT_EQ(pages.cookieRequests, 2) << "refused verbs send nothing";

    WinHttpClient post(pages.Url("/form"));
    EXPECT_TRUE(post.SendHttpRequest("post"));
    EXPECT_EQ(post.GetResponseContent(), "posted");
}

TEST(WinHttpClient, EmptyOrBadUrlFailsWithoutRequest) {
    WinHttpClient empty("");
    EXPECT_FALSE(empty.SendHttpRequest("GET"));
    EXPECT_EQ(empty.GetLastError(), WinHttpClient::kErrorPathNotFound);
    WinHttpClient bad("http://");
    EXPECT_FALSE(bad.SendHttpRequest("GET"));
    EXPECT_EQ(bad.GetLastError(), WinHttpClient::kErrorInvalidUrl);
}

TEST(WinHttpClient, ReadsTheResponseHeaders) {
    PageServer pages;
    WinHttpClient utf8(pages.Url("/utf8"));
    ASSERT_TRUE(utf8.SendHttpRequest("GET"));
    EXPECT_EQ(utf8.GetResponseCharset(), "UTF-8");
    EXPECT_EQ(utf8.GetResponseContent(), "<html>中文</html>");
    EXPECT_EQ(utf8.GetResponseByteCount(), 19u);
    EXPECT_EQ(utf8.GetStatusCode(), "200");
    EXPECT_EQ(utf8.GetRequestHost(), "127.0.0.1");

    WinHttpClient cookies(pages.Url("/cookies"));
    ASSERT_TRUE(cookies.SendHttpRequest("GET"));
    EXPECT_EQ(cookies.GetResponseCookies(), "a=1; b=2;");

    WinHttpClient moved(pages.Url("/moved"));
    ASSERT_TRUE(moved.SendHttpRequest("GET"));
    EXPECT_EQ(moved.GetLocation(), "http://example.invalid/next\r\n");
}

TEST(WinHttpClient, TruncatedPageIsRequestedThreeTimes) {
    PageServer pages;
    WinHttpClient client(pages.Url("/truncated"));
    EXPECT_FALSE(client.SendHttpRequest("GET"));
    EXPECT_EQ(pages.truncatedRequests, 3);
    EXPECT_EQ(client.GetLastError(), WinHttpClient::kErrorInvalidData);
}

TEST(WinHttpClient, UnreachableServerIsTriedThreeTimes) {
    WinHttpClient client("http://127.0.0.1:1/x");
    EXPECT_FALSE(client.SendHttpRequest("GET"));
    EXPECT_EQ(client.GetLastError(), static_cast<uint32_t>(CURLE_COULDNT_CONNECT));
}

TEST(WinHttpClient, BodyIsAppendedBehindAnExistingFile) {
    ServedPackage package(64 * 1024);
    std::ofstream(package.Target(), std::ios::binary) << "OLD";
    WinHttpClient client(package.Server().FinalUrl());
    client.SetSaveFilePath(package.Target());
    ASSERT_TRUE(client.SendHttpRequest("GET"));
    EXPECT_EQ(FileSizeOf(package.Target()), 3 + 64 * 1024);
    std::ifstream result(package.Target(), std::ios::binary);
    std::string head(3, '\0');
    result.read(head.data(), 3);
    EXPECT_EQ(head, "OLD");
    EXPECT_TRUE(client.GetResponseContent().empty()) << "a saved body is not kept in memory";
}

struct WinHttpRun {
    EventRecorder events;
    std::unique_ptr<WinHttpDownloader> downloader;
    WinHttpRun(const std::string& url, const std::string& target) {
        downloader = std::make_unique<WinHttpDownloader>(events.Callback(), url, target);
        WinHttpDownloader::Timeouts fast;
        fast.receiveMs = 1000;
        downloader->SetTimeouts(fast);
    }
};

TEST(WinHttpDownloader, ReportsHowTheDownloadEnded) {
    struct Case {
        const char* name;
        std::string redirect;  // "" = the served MD5
        PackageServer::Faults faults;
        std::vector<int32_t> codes;
        double endValue;
    };
    PackageServer::Faults none;
    PackageServer::Faults notFound;
    notFound.failStatus = 404;
    PackageServer::Faults cutOff;
    cutOff.dropAfterBytes = kMiB;
    const Case cases[] = {
        {"matching md5", "", none, {DL_CODE_START, DL_CODE_SUCCESS}, 0.0},
        {"no md5", "/files/nuvaloPDFconverter.exe", none, {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_SUCCESS}, 0.0},
        {"wrong md5", "/ffffffffffffffffffffffffffffffff/nuvaloPDFconverter.exe", none,
         {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_FAIL}, 0.0},
        {"404", "", notFound, {DL_CODE_START, DL_CODE_FAIL}, 404.0},
        {"cut off", "/files/nuvaloPDFconverter.exe", cutOff, {DL_CODE_START, DL_CODE_FAIL}, 18.0},
    };
    for (const auto& c : cases) {
        PackageServer::Options options;
        options.faults = c.faults;
        ServedPackage package(3 * kMiB, options);
        if (!c.redirect.empty()) package.Server().SetRedirectPath(c.redirect);
        WinHttpRun run(package.RouteUrl(), package.Target());
        run.downloader->Start();
        ASSERT_TRUE(run.events.WaitForEnd()) << c.name;
        EXPECT_EQ(run.events.Codes(), c.codes) << c.name;
        EXPECT_EQ(run.events.Events().back().value, c.endValue) << c.name;
        if (c.codes.back() == DL_CODE_SUCCESS) {
            EXPECT_TRUE(FilesEqual(package.Target(), package.PackagePath())) << c.name;
        }
    }
}

TEST(WinHttpDownloader, ProgressComesAtMostOnceASecond) {
    PackageServer::Options options;
    options.faults.bytesPerSecond = 2 * kMiB;
    ServedPackage package(5 * kMiB, options);
    WinHttpRun run(package.RouteUrl(), package.Target());
    run.downloader->Start();
    ASSERT_TRUE(run.events.WaitForEnd());
    const auto progress = run.events.ProgressValues();
    EXPECT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_TRUE(run.events.ProgressAtMostOncePerSecond());
    EXPECT_EQ(run.events.Codes().back(), DL_CODE_SUCCESS);
}

TEST(WinHttpDownloader, DestructionMidTransferStopsAndJoins) {
    PackageServer::Options options;
    options.faults.bytesPerSecond = 2 * kMiB;
    ServedPackage package(20 * kMiB, options);
    DestroyMidTransferRepeatedly(MakerOf<WinHttpDownloader>(package.RouteUrl(), package.Target()), 4, 200ms, 5s);
}

}  // namespace
