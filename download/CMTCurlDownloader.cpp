#include "download/CMTCurlDownloader.h"

#include "download/CurlInfo.h"
#include "download/DownloadFiles.h"
#include "download/UrlMd5.h"
#include "utils/DebugLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kCredits = 12;
constexpr int kPartialFile = 18;
constexpr int64_t kPartUnit = 10485760;
constexpr int kMaxParts = 2;
constexpr int64_t kMinimumLength = 256;
constexpr long kConnectTimeoutSeconds = 60;
constexpr std::size_t kPartFileBuffer = 4u << 20;
constexpr long kTransferBuffer = 512 * 1024;
constexpr std::size_t kMergeBlock = 1u << 20;

// Appends source to the end of target: in the kernel where it can (the copy
// is never seen by this process), else in blocks.
bool AppendFile(int target, int source) {
    if (::lseek(target, 0, SEEK_END) < 0) return false;
    ssize_t copied;
    while ((copied = ::copy_file_range(source, nullptr, target, nullptr, std::size_t{1} << 30, 0)) > 0) {
    }
    if (copied == 0) return true;
    std::vector<char> block(kMergeBlock);
    ssize_t count;
    while ((count = ::read(source, block.data(), block.size())) > 0) {
        for (ssize_t written = 0; written < count;) {
            const ssize_t n = ::write(target, block.data() + written, static_cast<std::size_t>(count - written));
            if (n <= 0) return false;
            written += n;
        }
    }
    return count == 0;
}

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(EventCallback callback, std::string url, std::string savePath)
    : CDownloader(std::move(callback)), savePath(std::move(savePath)), url(std::move(url)) {
    const std::string ansiSavePath = AnsiName(this->savePath);
    std::remove(ansiSavePath.c_str());
    deletePartFiles(ansiSavePath);
}

CMTCurlDownloader::~CMTCurlDownloader() {
    stop.Raise();
    JoinThreads();  // a waiter may still be restarting the worker
    worker.Wait();
    JoinThreads();
    cleanupParts();
}

void CMTCurlDownloader::Start() {
    if (stop.Raised()) return;
    worker.Restart(this, "ABDEF", &CMTCurlDownloader::Start_Down);
}

void CMTCurlDownloader::SetTimings(const Timings& newTimings) {
    timings = newTimings;
}

std::string CMTCurlDownloader::partFilePath(const std::string& ansiSavePath, int index) {
    return ansiSavePath + "_" + std::to_string(index);
}

void CMTCurlDownloader::deletePartFiles(const std::string& ansiSavePath) {
    for (int i = 0; i < kMaxParts; ++i) std::remove(partFilePath(ansiSavePath, i).c_str());
}

std::vector<int64_t> CMTCurlDownloader::SplitSizes(int64_t length) {
    int64_t count = length / kPartUnit;
    if (count == 0) count = 1;
    if (count > kMaxParts) count = kMaxParts;
    std::vector<int64_t> sizes(static_cast<std::size_t>(count), length / count);
    sizes.back() += length % count;
    return sizes;
}

uint32_t CMTCurlDownloader::Start_Down(void* downloader) {
    auto* self = static_cast<CMTCurlDownloader*>(downloader);
    self->Send(DL_CODE_START, 1.0, "");
    DEBUG_LOG("start download");
    const std::string ansiSavePath = AnsiName(self->savePath);
    const std::string narrowUrl = NarrowUrl(self->url);
    self->JoinThreads();  // the previous attempt's threads have finished their work

    std::remove(ansiSavePath.c_str());
    if (self->lastPercent == 0.0) deletePartFiles(ansiSavePath);
    const bool cached = !self->realUrl.empty() && self->fileLength >= kMinimumLength;
    if (!cached && !self->getRealDownloadUrl(narrowUrl)) {
        self->Send(DL_CODE_FAIL, 0.0, "LibCurl");
        return 0;
    }
    self->BuildParts(ansiSavePath);
    self->StartThreads();
    return 0;
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& narrowUrl) {
    realUrl.clear();
    urlMd5.clear();
    fileLength = 0;
    CURL* handle = curl_easy_init();
    if (!handle) return false;
    curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
    int result = curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    result |= curl_easy_setopt(handle, CURLOPT_URL, narrowUrl.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    SetSafetyOptions(handle, kConnectTimeoutSeconds, timings.stallSeconds);
    if (result == 0) result = curl_easy_perform(handle);
    if (result == 0) {
        if (std::string effective = CurlEffectiveUrl(handle); !effective.empty()) {
            realUrl = std::move(effective);
            DEBUG_LOG("Download File real url %s", realUrl.c_str());
            urlMd5 = Utils::UrlMd5(realUrl);
        }
        double length = -1.0;
        if (CurlContentLength(handle, length) == CURLE_OK && StatusCarriesLength(CurlResponseCode(handle))) {
            fileLength = static_cast<int64_t>(length);
            DEBUG_LOG("Download File Length %lld", static_cast<long long>(fileLength));
        }
    }
    curl_easy_cleanup(handle);
    curl_slist_free_all(headers);
    return !realUrl.empty() && fileLength >= kMinimumLength;
}

void CMTCurlDownloader::BuildParts(const std::string& ansiSavePath) {
    int64_t offset = 0;
    int index = 0;
    for (const int64_t size : SplitSizes(fileLength)) {
        auto part = std::make_unique<DownloadPartNode>();
        part->partPath = partFilePath(ansiSavePath, index++);
        part->url = realUrl;
        part->curl = curl_easy_init();
        int64_t existing = std::max<int64_t>(FileSize(part->partPath), 0);
        if (existing > size) {
            // Bytes beyond the range cannot belong to it: fetch the part again.
            std::remove(part->partPath.c_str());
            existing = 0;
        }
        part->received = existing;
        part->nextOffset = offset + existing;
        offset += size;
        part->lastOffset = offset - 1;
        if (part->nextOffset > part->lastOffset) {
            part->status = 0;
        } else if ((part->file = std::fopen(part->partPath.c_str(), "ab+"))) {
            part->fileBuffer.resize(kPartFileBuffer);
            std::setvbuf(part->file, part->fileBuffer.data(), _IOFBF, part->fileBuffer.size());
        } else {
            part->status = DownloadPartNode::kFileError;
        }
        parts.push_back(std::move(part));
    }
}

void CMTCurlDownloader::StartThreads() {
    for (auto& part : parts) {
        if (part->status != DownloadPartNode::kPending) continue;
        {
            std::lock_guard lock(threadsLock);
            ++runningParts;
            threads.emplace_back(&CMTCurlDownloader::downloadThreadFun, this, part.get());
        }
        if (stop.WaitFor(timings.partStagger)) break;
    }
    std::lock_guard lock(threadsLock);
    threads.emplace_back(&CMTCurlDownloader::waitForFinishThreadFun, this);
}

void CMTCurlDownloader::downloadThreadFun(CMTCurlDownloader* self, DownloadPartNode* part) {
    Utils::SetThreadName(pthread_self(), "part");
    int credits = kCredits;
    int result = self->downloadExe(*part);
    while (result != 0 && credits > 0 && !self->stop.Raised()) {
        credits -= result == kPartialFile ? 1 : 2;
        DEBUG_LOG("CurlDownLoader Code=%d", result);
        if (self->stop.WaitFor(self->timings.partRetryDelay)) break;
        result = self->downloadExe(*part);
    }
    if (part->file) std::fclose(part->file);
    part->file = nullptr;
    std::lock_guard lock(self->partsEndedLock);
    --self->runningParts;
    self->partsEnded.notify_all();
}

int CMTCurlDownloader::downloadExe(DownloadPartNode& part) {
    if (part.nextOffset > part.lastOffset) return part.status = 0;  // its last byte arrived with a surplus
    const std::string range = std::to_string(part.nextOffset) + "-" + std::to_string(part.lastOffset);
    CURL* handle = part.curl;
    if (!handle) return part.status = CURLE_FAILED_INIT;
    int result = curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_URL, part.url.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_TIMEOUT, 0L);
    result |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::partWriteCallback);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, &part);
    result |= curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &CMTCurlDownloader::partHeaderCallback);
    result |= curl_easy_setopt(handle, CURLOPT_HEADERDATA, &part);
    result |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    result |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::partProgressCallback);
    result |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    result |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kTransferBuffer);
    result |= curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
    SetSafetyOptions(handle, kConnectTimeoutSeconds, timings.stallSeconds);
    if (result != 0) return result;

    part.responseChecked = false;
    part.contentRangeStart = -1;
    result = curl_easy_perform(handle);
    if (result != 0) {
        DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    } else {
        DEBUG_LOG("curl_easy_cleanup");
    }
    curl_easy_reset(handle);
    if (part.file && std::fflush(part.file) != 0 && result == 0) result = CURLE_WRITE_ERROR;
    if (result == 0 && part.file) {
        std::fclose(part.file);
        part.file = nullptr;
    }
    return part.status = result;
}

size_t CMTCurlDownloader::partHeaderCallback(char* data, size_t size, size_t count, void* partData) {
    TrackContentRange(std::string_view(data, size * count), static_cast<DownloadPartNode*>(partData)->contentRangeStart);
    return size * count;
}

size_t CMTCurlDownloader::partWriteCallback(char* data, size_t size, size_t count, void* partData) {
    auto* part = static_cast<DownloadPartNode*>(partData);
    if (!part->file) return 0;
    if (!part->responseChecked) {
        // Bytes from any other offset would corrupt the part file.
        if (!ResponseStartsAt(CurlResponseCode(part->curl), part->contentRangeStart, part->nextOffset)) return 0;
        part->responseChecked = true;
    }
    const int64_t n = static_cast<int64_t>(size * count);
    int64_t wanted = n;
    if (part->nextOffset > part->lastOffset) {
        wanted = 0;
    } else if (part->nextOffset + n - 1 > part->lastOffset) {
        wanted = part->lastOffset - part->nextOffset + 1;
    }
    const int64_t written =
        static_cast<int64_t>(std::fwrite(data, 1, static_cast<std::size_t>(wanted), part->file));
    part->nextOffset += written;
    part->received += written;
    return static_cast<size_t>(written);
}

int CMTCurlDownloader::partProgressCallback(void* downloader, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* self = static_cast<CMTCurlDownloader*>(downloader);
    if (self->stop.Raised()) return 1;
    std::lock_guard lock(self->progressLock);
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (now <= self->lastProgressTime) return 0;
    self->lastProgressTime = now;
    double percent = 0.0;
    if (self->fileLength >= kMinimumLength) {
        int64_t received = 0;
        for (const auto& part : self->parts) received += part->received;
        percent = static_cast<double>(received) * 100 / static_cast<double>(self->fileLength);
        if (percent > 100) return 0;
    }
    if (percent - self->lastPercent >= 1.0) {
        self->lastPercent = percent;
        self->Send(DL_CODE_PROGRESS, percent / 100, "");
    }
    return 0;
}

void CMTCurlDownloader::waitForFinishThreadFun(CMTCurlDownloader* self) {
    Utils::SetThreadName(pthread_self(), "waiter");
    {
        std::unique_lock lock(self->partsEndedLock);
        while (!self->partsEnded.wait_for(lock, self->timings.waiterPoll, [&] { return self->runningParts == 0; }))
            if (self->stop.Raised()) return;
    }
    if (self->stop.Raised()) return;
    int failure = 0;
    for (const auto& part : self->parts) {
        if (part->status != 0) {
            failure = part->status;
            break;
        }
    }
    if (failure == 0) {
        self->FinishMerged(AnsiName(self->savePath));
    } else {
        self->FinishFailed(failure);
    }
}

void CMTCurlDownloader::FinishMerged(const std::string& ansiSavePath) {
    {
        std::lock_guard lock(progressLock);
        lastPercent = 0.0;
    }
    if (!MergeParts(ansiSavePath)) {
        FinishFailed(DownloadPartNode::kFileError);
        return;
    }
    switch (Utils::CheckAgainstUrlMd5(urlMd5, ansiSavePath)) {
    case Utils::Md5Check::NoUrlMd5: Send(DL_CODE_NOTICE, 0.0, "mtcurl获取url-md5失败"); break;
    case Utils::Md5Check::Matches: break;
    case Utils::Md5Check::Differs:
        Send(DL_CODE_NOTICE, 0.0, "mtcurl文件md5校验失败");
        std::remove(ansiSavePath.c_str());
        cleanupParts();
        if (retried) {
            DEBUG_LOG("finish recv, md5 chaek failed and retry failed.");
            Send(DL_CODE_FAIL, 0.0, "LibCurl");
        } else {
            retried = true;
            DEBUG_LOG("finish recv, md5 chaek failed retry once.");
            Send(DL_CODE_RETRY, 0.0, "LibCurl");
        }
        return;
    }
    DEBUG_LOG("finish recv");
    cleanupParts();
    Send(DL_CODE_SUCCESS, 0.0, "LibCurl");
}

// Part file 0 becomes the package; a later part file that cannot be opened is
// skipped (the MD5 check then fails), part file 0 itself must open.
bool CMTCurlDownloader::MergeParts(const std::string& ansiSavePath) {
    const std::string first = partFilePath(ansiSavePath, 0);
    const int merged = ::open(first.c_str(), O_WRONLY | O_CLOEXEC);
    if (merged < 0) {
        DEBUG_LOG("partPath::%s cannot be opened", first.c_str());
        return false;
    }
    bool complete = true;
    for (int i = 1; i < static_cast<int>(parts.size()); ++i) {
        const std::string name = partFilePath(ansiSavePath, i);
        const int source = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (source >= 0) {
            complete = AppendFile(merged, source) && complete;
            ::close(source);
        }
        DEBUG_LOG("partPath::%s", name.c_str());
    }
    complete = ::close(merged) == 0 && complete;
    if (!complete || std::rename(first.c_str(), ansiSavePath.c_str()) != 0) {
        deletePartFiles(ansiSavePath);  // a half-merged part 0 is no part 0 to resume
        return false;
    }
    deletePartFiles(ansiSavePath);
    return true;
}

void CMTCurlDownloader::FinishFailed(int failure) {
    cleanupParts();
    bool keepParts;
    {
        std::lock_guard lock(progressLock);
        keepParts = lastPercent != 0.0;
        if (retried) lastPercent = 0.0;
    }
    if (!keepParts) deletePartFiles(AnsiName(savePath));
    if (!retried) {
        retried = true;
        Send(DL_CODE_RETRY, failure, "LibCurl");
    } else {
        Send(DL_CODE_FAIL, failure, "LibCurl");
    }
}

void CMTCurlDownloader::cleanupParts() {
    for (auto& part : parts) {
        if (part->curl) curl_easy_cleanup(part->curl);
        if (part->file) std::fclose(part->file);
    }
    parts.clear();
}

// Joins every part and waiter thread except the calling one.
void CMTCurlDownloader::JoinThreads() {
    std::vector<std::thread> finished;
    {
        std::lock_guard lock(threadsLock);
        finished.swap(threads);
    }
    for (auto& thread : finished) {
        if (thread.get_id() == std::this_thread::get_id()) {
            std::lock_guard lock(threadsLock);
            threads.push_back(std::move(thread));
        } else if (thread.joinable()) {
            thread.join();
        }
    }
}
