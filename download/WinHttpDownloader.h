#pragma once

#include "download/CDownloader.h"
#include "download/WinHttpClient.h"
#include "utils/EventCallback.h"
#include "utils/Thread.h"

#include <cstdint>
#include <string>

// The downloader on the plain HTTP stack: one GET through WinHttpClient whose
// body is appended to the target, reported with the events of every
// downloader so that its receiver learns how it ended.
class WinHttpDownloader : public CDownloader {
public:
    struct Timeouts {
        int resolveMs = 0;
        int connectMs = 60000;
        int sendMs = 30000;
        int receiveMs = 30000;
    };

    WinHttpDownloader(EventCallback callback, std::string url, std::string savePath);
    // Abandons the running request and waits for the worker; no event follows.
    ~WinHttpDownloader() override;

    void Start() override;
    void SetTimeouts(const Timeouts& timeouts);

private:
    static uint32_t Download(void* downloader);
    void ReportProgress(uint64_t received, uint64_t total);
    void FinishWithMd5Check(const WinHttpClient& client);

    std::string savePath;
    std::string url;
    Timeouts timeouts;
    int64_t lastProgressTime = 0;
    Utils::WorkerSlot worker;
};
