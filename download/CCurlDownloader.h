#pragma once

#include "download/CDownloader.h"
#include "download/CurlClient.h"
#include "utils/EventCallback.h"
#include "utils/Thread.h"

#include <chrono>
#include <functional>
#include <string>

// The default downloader: one stream through CurlClient, failed transfers
// retried on credits, the result checked against the MD5 the final URL
// carries, and one DL_CODE_RETRY after a mismatch.
class CCurlDownloader : public CDownloader {
public:
    struct Timings {
        std::chrono::milliseconds retryDelay{500};
        long stallSeconds = CurlClient::kDefaultStallSeconds;
    };
    using Transfer = std::function<int(CurlClient&)>;

    CCurlDownloader(EventCallback callback, std::string url, std::string savePath);
    // Stops the running transfer and waits for the worker; no event follows.
    ~CCurlDownloader() override;

    void Start() override;

    static void progressAdapter(void* owner, double speed, double reserved, double percent);

    void SetTimings(const Timings& timings);
    // Stands in for CurlClient::Start, so that failures can be injected.
    void SetTransfer(Transfer transfer);

private:
    static uint32_t dlThreadFun(void* downloader);
    int TransferWithCredits();
    void FinishWithMd5Check();

    std::string savePath;
    std::string url;
    CurlClient client;
    bool retried = false;
    Timings timings;
    Transfer transfer;

    Utils::WorkerSlot worker;  // last: joined before the members it uses go away
};
