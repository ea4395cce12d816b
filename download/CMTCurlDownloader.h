#pragma once

#include "download/CDownloader.h"
#include "download/DownloadPartNode.h"
#include "utils/EventCallback.h"
#include "utils/Thread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The multi-part downloader: learns the final URL, length and MD5 with one
// probe, fetches one or two byte ranges on threads of their own into part
// files "_0" and "_1", merges them, checks the MD5 and offers one retry.
class CMTCurlDownloader : public CDownloader {
public:
    struct Timings {
        std::chrono::milliseconds partRetryDelay{400};
        std::chrono::milliseconds partStagger{100};
        std::chrono::milliseconds waiterPoll{200};
        long stallSeconds = 5;
    };

    CMTCurlDownloader(EventCallback callback, std::string url, std::string savePath);
    // Stops every transfer and joins the worker, part and waiter threads; no event follows.
    ~CMTCurlDownloader() override;

    void Start() override;
    void SetTimings(const Timings& timings);

    static std::string partFilePath(const std::string& ansiSavePath, int index);
    static void deletePartFiles(const std::string& ansiSavePath);
    // Sizes of the parts a package of this length is split into.
    static std::vector<int64_t> SplitSizes(int64_t fileLength);

private:
    static uint32_t Start_Down(void* downloader);
    bool getRealDownloadUrl(const std::string& narrowUrl);
    void BuildParts(const std::string& ansiSavePath);
    void StartThreads();
    int downloadExe(DownloadPartNode& part);
    static void downloadThreadFun(CMTCurlDownloader* downloader, DownloadPartNode* part);
    static void waitForFinishThreadFun(CMTCurlDownloader* downloader);
    void FinishMerged(const std::string& ansiSavePath);
    void FinishFailed(int failure);
    bool MergeParts(const std::string& ansiSavePath);
    void cleanupParts();
    void JoinThreads();

    static size_t partWriteCallback(char* data, size_t size, size_t count, void* part);
    static size_t partHeaderCallback(char* data, size_t size, size_t count, void* part);
    static int partProgressCallback(void* downloader, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    std::vector<std::unique_ptr<DownloadPartNode>> parts;
    std::string savePath;
    std::string url;
    std::string realUrl;
    int64_t fileLength = -1;
    std::string urlMd5;
    double lastPercent = 0.0;
    std::atomic<int32_t> runningParts{0};
    std::mutex partsEndedLock;
    std::condition_variable partsEnded;  // wakes the waiter when the last part ends
    std::mutex progressLock;
    int64_t lastProgressTime = 0;
    bool retried = false;
    Timings timings;

    std::mutex threadsLock;
    std::vector<std::thread> threads;  // part threads and waiters, joined before the next attempt and at the end
    Utils::WorkerSlot worker;
};
