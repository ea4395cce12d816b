#include "download/CCurlDownloader.h"

#include "download/UrlMd5.h"
#include "download/DownloadFiles.h"
#include "utils/DebugLog.h"

#include <cstdio>

namespace {
constexpr int kCredits = 12;
constexpr int kPartialFile = 18;
}  // namespace

CCurlDownloader::CCurlDownloader(EventCallback callback, std::string url, std::string savePath)
    : CDownloader(std::move(callback)),
      savePath(std::move(savePath)),
      url(std::move(url)),
      client(this->url, this->savePath, this, &CCurlDownloader::progressAdapter),
      transfer([](CurlClient& c) { return c.Start(); }) {
    std::remove(AnsiName(client.GetFilePath(true)).c_str());
}

CCurlDownloader::~CCurlDownloader() {
    stop.Raise();
    client.RequestStop();
    worker.Wait();
}

void CCurlDownloader::Start() {
    worker.Restart(this, "ABDEF", &CCurlDownloader::dlThreadFun);
}

void CCurlDownloader::SetTimings(const Timings& newTimings) {
    timings = newTimings;
    client.SetStallTimeout(timings.stallSeconds);
}

void CCurlDownloader::SetTransfer(Transfer newTransfer) {
    transfer = std::move(newTransfer);
}

uint32_t CCurlDownloader::dlThreadFun(void* downloader) {
    auto* self = static_cast<CCurlDownloader*>(downloader);
    self->Send(DL_CODE_START, 1.0, "");
    if (self->savePath.empty()) {
        self->Send(DL_CODE_FAIL, 1.0, "");
        return 0;  // there is nowhere to put the package
    }
    const int result = self->TransferWithCredits();
    if (result != 0) {
        self->Send(DL_CODE_FAIL, result, "LibCurl");
        return 0;
    }
    self->FinishWithMd5Check();
    return 0;
}

// A partial-file failure costs one credit, any other two.
int CCurlDownloader::TransferWithCredits() {
    int result = transfer(client);
    int credits = kCredits;
    while (result != 0) {
        credits -= result == kPartialFile ? 1 : 2;
        if (credits <= 0) return result;
        DEBUG_LOG("CurlDownLoader Code=%d", result);
        if (stop.WaitFor(timings.retryDelay)) return result;
        result = transfer(client);
    }
    return 0;
}

void CCurlDownloader::FinishWithMd5Check() {
    switch (Utils::CheckAgainstUrlMd5(Utils::UrlMd5(client.EffectiveUrl()), AnsiName(savePath))) {
    case Utils::Md5Check::NoUrlMd5: Send(DL_CODE_NOTICE, 0.0, "curl获取url-md5失败"); break;
    case Utils::Md5Check::Matches: break;
    case Utils::Md5Check::Differs:
        Send(DL_CODE_NOTICE, 0.0, "curl文件md5校验失败");
        if (retried) {
            Send(DL_CODE_FAIL, 0.0, "LibCurl");
        } else {
            retried = true;  // before the event: its receiver may start the retry at once
            Send(DL_CODE_RETRY, 0.0, "LibCurl");
        }
        return;
    }
    Send(DL_CODE_SUCCESS, 0.0, "LibCurl");
}

void CCurlDownloader::progressAdapter(void* owner, double speed, double, double percent) {
    if (speed > 0 && percent <= 100) static_cast<CCurlDownloader*>(owner)->Send(DL_CODE_PROGRESS, percent / 100, "");
}
