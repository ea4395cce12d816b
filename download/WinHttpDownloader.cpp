#include "download/WinHttpDownloader.h"

#include "download/DownloadFiles.h"
#include "download/UrlMd5.h"

#include <ctime>

WinHttpDownloader::WinHttpDownloader(EventCallback callback, std::string url, std::string savePath)
    : CDownloader(std::move(callback)), savePath(std::move(savePath)), url(std::move(url)) {}

WinHttpDownloader::~WinHttpDownloader() {
    stop.Raise();
    worker.Wait();
}

void WinHttpDownloader::Start() {
    worker.Restart(this, "ABDEF", &WinHttpDownloader::Download);
}

void WinHttpDownloader::SetTimeouts(const Timeouts& newTimeouts) {
    timeouts = newTimeouts;
}

uint32_t WinHttpDownloader::Download(void* downloader) {
    auto* self = static_cast<WinHttpDownloader*>(downloader);
    self->Send(DL_CODE_START, 1.0, "");
    if (self->savePath.empty()) {
        self->Send(DL_CODE_FAIL, 1.0, "");
        return 0;
    }
    WinHttpClient client(self->url);
    client.SetSaveFilePath(self->savePath);
    client.SetTimeouts(self->timeouts.resolveMs, self->timeouts.connectMs, self->timeouts.sendMs,
                       self->timeouts.receiveMs);
    client.SetAbortCheck([self] { return self->stop.Raised(); });
    client.SetProgressHook([self](uint64_t received, uint64_t total) { self->ReportProgress(received, total); });
    if (!client.SendHttpRequest("GET")) {
        self->Send(DL_CODE_FAIL, client.GetLastError(), "LibCurl");
        return 0;
    }
    const long status = std::strtol(client.GetStatusCode().c_str(), nullptr, 10);
    if (status < 200 || status > 299) {
        self->Send(DL_CODE_FAIL, static_cast<double>(status), "LibCurl");
        return 0;
    }
    // A body cut off midway still counts as an answer to the client.
    if (client.GetResponseByteCount() != 0 && client.GetBodyBytes() != client.GetResponseByteCount()) {
        self->Send(DL_CODE_FAIL, client.GetLastError(), "LibCurl");
        return 0;
    }
    self->FinishWithMd5Check(client);
    return 0;
}

// At most one event a second, as the curl downloaders do.
void WinHttpDownloader::ReportProgress(uint64_t received, uint64_t total) {
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (total == 0 || received > total || now <= lastProgressTime) return;
    lastProgressTime = now;
    Send(DL_CODE_PROGRESS, static_cast<double>(received) / static_cast<double>(total), "");
}

void WinHttpDownloader::FinishWithMd5Check(const WinHttpClient& client) {
    switch (Utils::CheckAgainstUrlMd5(Utils::UrlMd5(client.GetEffectiveUrl()), AnsiName(savePath))) {
    case Utils::Md5Check::NoUrlMd5: Send(DL_CODE_NOTICE, 0.0, "winhttp获取url-md5失败"); break;
    case Utils::Md5Check::Matches: break;
    case Utils::Md5Check::Differs:
        Send(DL_CODE_NOTICE, 0.0, "winhttp文件md5校验失败");
        Send(DL_CODE_FAIL, 0.0, "LibCurl");
        return;
    }
    Send(DL_CODE_SUCCESS, 0.0, "LibCurl");
}

