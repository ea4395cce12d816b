#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Owner's progress hook: (owner, bytes per second, reserved 0.0, percent).
using ProgressFn = void (*)(void* owner, double speed, double reserved, double percent);

// Fetches one URL into one file: probes the final URL and the length (cached
// between calls), transfers into "<path>.part" with resume, and renames the
// part file onto the path only after a completed transfer.
class CurlClient {
public:
    static constexpr int kPartFileError = -996;
    static constexpr int kNoHandle = -997;
    static constexpr int kTooShort = -998;
    static constexpr double kMinimumLength = 1048576.0;
    static constexpr long kDefaultStallSeconds = 60;

    CurlClient(std::string url, std::string path, void* owner, ProgressFn progressFn);
    // Stops a running transfer at its next progress call and deletes the part file.
    ~CurlClient();
    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    std::string GetFilePath(bool part) const;
    // 0 when the file is complete, a libcurl result or one of the codes above.
    int Start();

    // A body-less request after redirects; the caller releases the handle.
    CURL* Head(const std::string& url);
    static std::string GetRealUrl(CURL* handle);
    static double GetDownloadFileLength(CURL* handle);
    std::string GetRealUrl_Str(const std::string& url);
    double GetDownloadFileLength_Str(const std::string& url);

    static size_t WriteCallback(char* data, size_t size, size_t count, void* client);
    static int ProgressCallback(void* client, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t);

    // Safe from any thread: the running transfer ends at its next progress call.
    void RequestStop() { stopRequested = true; }
    // Below 1 byte a second for this long a transfer or probe fails (libcurl's 28).
    void SetStallTimeout(long seconds) { stallSeconds = seconds; }
    const std::string& EffectiveUrl() const { return effectiveUrl; }
    double FileLength() const { return fileLength; }

private:
    int Transfer(const std::string& partName);
    int SetTransferOptions(curl_slist* headers);
    bool AcceptResponse();
    bool RestartPartFile();
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* client);

    std::string url;
    std::string path;
    void* owner;
    CURL* curl = nullptr;
    ProgressFn progressFn;
    double fileLength = -1.0;
    int64_t resumeFrom = -1;
    int64_t lastProgressTime = 0;
    std::atomic<bool> stopRequested{false};
    std::string effectiveUrl;

    long stallSeconds = kDefaultStallSeconds;
    std::FILE* partFile = nullptr;
    std::vector<char> partBuffer;
    bool responseChecked = false;
    int64_t contentRangeStart = -1;
};
