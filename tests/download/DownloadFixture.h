#pragma once

#include "download/CDownloader.h"
#include "tests/utils/TempFolder.h"
#include "tools/packageserver/PackageServer.h"
#include "utils/EventCallback.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace DownloadTest {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
// Big transfers shrink under the sanitizers, which slow every byte down.
inline constexpr int64_t kMiB = 1 << 20;
inline constexpr int64_t kBigPackage = kSanitized ? 20 * kMiB : 200 * kMiB;

// Writes size bytes of a reproducible pseudo-random pattern (seeded by seed).
void WritePackage(const std::string& path, int64_t size, uint32_t seed = 1);
bool FilesEqual(const std::string& a, const std::string& b);
int64_t FileSizeOf(const std::string& path);  // -1 when missing

// Server options whose first response body is cut off after bytes.
PackageServer::Options DropOnceAfter(int64_t bytes);

// A package file in a temp folder served by a PackageServer on 127.0.0.1.
class ServedPackage {
public:
    explicit ServedPackage(int64_t size, PackageServer::Options options = {});
    PackageServer& Server() { return *server_; }
    const std::string& PackagePath() const { return packagePath_; }
    std::string RouteUrl() const { return server_->BaseUrl() + "/download_silent"; }
    std::string Target(const std::string& name = "out.exe") const { return folder_ / name; }
    TempFolder& Folder() { return folder_; }
    // Requests of the given method seen by the server.
    std::vector<PackageServer::Request> RequestsOf(const std::string& method) const;

private:
    TempFolder folder_;
    std::string packagePath_;
    std::unique_ptr<PackageServer> server_;
};

// Collects the events of one downloader and answers DL_CODE_RETRY with a
// restart on the delivering thread, as the installer does.
class EventRecorder {
public:
    struct Event {
        int32_t code;
        double value;
        std::string text;
        int64_t second;  // wall-clock second of arrival
    };

    EventCallback Callback();
    void RestartOnRetry(CDownloader* downloader);
    // True once a DL_CODE_SUCCESS or DL_CODE_FAIL arrived within the limit.
    bool WaitForEnd(std::chrono::seconds limit = std::chrono::seconds(120));
    bool WaitForCode(int32_t code, std::chrono::seconds limit);
    std::vector<Event> Events() const;
    // The codes in order, progress left out.
    std::vector<int32_t> Codes() const;
    std::vector<double> ProgressValues() const;
    // True when no two progress events arrived within the same wall-clock second.
    bool ProgressAtMostOncePerSecond() const;

private:
    void Receive(int32_t code, double value, const std::string& text);

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Event> events_;
    CDownloader* restartTarget_ = nullptr;
};

// One way the final URL can carry (or lack) the package's MD5, with the
// events a downloader whose notices begin with prefix sends for it.
struct Md5Case {
    std::string name;
    std::string redirectPath;
    std::vector<int32_t> codes;
    std::vector<std::string> notices;
};
std::vector<Md5Case> Md5Cases(const std::string& prefix, const std::string& md5, const std::string& packageName);
std::vector<std::string> NoticeTexts(const EventRecorder& events);

using MakeDownloader = std::function<std::unique_ptr<CDownloader>(EventRecorder& events)>;

// A maker of downloaders of type D for url and target, configured by configure.
template <typename D>
MakeDownloader MakerOf(const std::string& url, const std::string& target,
                       std::function<void(D&)> configure = nullptr) {
    return [=](EventRecorder& events) {
        auto downloader = std::make_unique<D>(events.Callback(), url, target);
        if (configure) configure(*downloader);
        return downloader;
    };
}

// Each round starts a downloader made by make (restarted on DL_CODE_RETRY),
// destroys it after a random moment below maxDelay, and expects the
// destruction to end within limit without DL_CODE_SUCCESS.
void DestroyMidTransferRepeatedly(const MakeDownloader& make, int rounds, std::chrono::milliseconds maxDelay,
                                  std::chrono::seconds limit);

}  // namespace DownloadTest
