#include "download/CurlClient.h"

#include "download/CurlInfo.h"
#include "download/DownloadFiles.h"
#include "utils/DebugLog.h"

#include <unistd.h>

#include <cstring>
#include <ctime>

namespace {

// The part file gets a large stdio buffer: libcurl hands over a few KiB at a
// time, and writing each piece on its own would cost a system call apiece.
constexpr std::size_t kPartFileBuffer = 4u << 20;
constexpr long kTransferBuffer = 512 * 1024;
constexpr long kConnectTimeoutSeconds = 60;

}  // namespace

CurlClient::CurlClient(std::string url, std::string path, void* owner, ProgressFn progressFn)
    : url(std::move(url)), path(std::move(path)), owner(owner), progressFn(progressFn) {}

CurlClient::~CurlClient() {
    std::remove(AnsiName(GetFilePath(true)).c_str());
    stopRequested = true;
}

std::string CurlClient::GetFilePath(bool part) const {
    return part ? path + ".part" : path;
}

int CurlClient::Start() {
    DEBUG_LOG("start download");
    const std::string partName = AnsiName(GetFilePath(true));
    const std::string targetName = AnsiName(path);
    const std::string narrowUrl = NarrowUrl(url);

    if (effectiveUrl.empty() || fileLength < kMinimumLength) {
        CURL* head = Head(narrowUrl);
        effectiveUrl = GetRealUrl(head);
        fileLength = GetDownloadFileLength(head);
        curl_easy_cleanup(head);
    }
    int result;
    if (effectiveUrl.empty() || fileLength < kMinimumLength) {
        effectiveUrl = GetRealUrl_Str(narrowUrl);
        if (!effectiveUrl.empty()) fileLength = GetDownloadFileLength_Str(effectiveUrl);
    }
    if (fileLength < kMinimumLength) {
        result = kTooShort;
        DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    } else {
        result = Transfer(partName);
    }
    if (result == 0) {
        std::remove(targetName.c_str());
        if (std::rename(partName.c_str(), targetName.c_str()) != 0) DEBUG_LOG("rename failed:%s", std::strerror(errno));
    }
    DEBUG_LOG("end download");
    return result;
}

int CurlClient::Transfer(const std::string& partName) {
    int result;
    curl_slist* headers = nullptr;
    curl = curl_easy_init();
    if (!curl) {
        result = kNoHandle;
    } else if (!(partFile = std::fopen(partName.c_str(), "ab+"))) {
        result = kPartFileError;
    } else {
        partBuffer.resize(kPartFileBuffer);
        std::setvbuf(partFile, partBuffer.data(), _IOFBF, partBuffer.size());
        headers = curl_slist_append(headers, "Connection: keep-alive");
        headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
        resumeFrom = FileSize(partName);
        if (resumeFrom >= fileLength) resumeFrom = RestartPartFile() ? 0 : resumeFrom;  // nothing left to ask for
        result = SetTransferOptions(headers);
        if (result == 0) result = curl_easy_perform(curl);
    }
    DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    if (curl) curl_easy_cleanup(curl);
    curl = nullptr;
    curl_slist_free_all(headers);
    if (partFile && std::fclose(partFile) != 0 && result == 0) result = CURLE_WRITE_ERROR;
    partFile = nullptr;
    return result;
}

int CurlClient::SetTransferOptions(curl_slist* headers) {
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPINTVL, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 0L);
    int result = curl_easy_setopt(curl, CURLOPT_URL, effectiveUrl.c_str());
    result |= curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlClient::WriteCallback);
    result |= curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    result |= curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CurlClient::HeaderCallback);
    result |= curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
    result |= curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    result |= curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
    result |= curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    result |= curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    result |= curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kTransferBuffer);
    SetSafetyOptions(curl, kConnectTimeoutSeconds, stallSeconds);
    responseChecked = false;
    contentRangeStart = -1;
    // A plain range request rather than libcurl's resume: a server that answers
    // with the whole body must restart the part file, not fail every attempt.
    if (resumeFrom > 0) result |= curl_easy_setopt(curl, CURLOPT_RANGE, (std::to_string(resumeFrom) + "-").c_str());
    return result;
}

CURL* CurlClient::Head(const std::string& headUrl) {
    CURL* handle = curl_easy_init();
    if (!handle) {
        DEBUG_LOG("error:%d:%s", 0, CurlErrorText(0));
        return nullptr;
    }
    int result = curl_easy_setopt(handle, CURLOPT_URL, headUrl.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    SetSafetyOptions(handle, kConnectTimeoutSeconds, stallSeconds);
    if (result == 0) {
        result = curl_easy_perform(handle);
        if (result != 0) DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    }
    DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    return handle;
}

std::string CurlClient::GetRealUrl(CURL* handle) {
    return CurlEffectiveUrl(handle);
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    if (!handle) return -1.0;
    double length = -1.0;
    const int result = CurlContentLength(handle, length);
    DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    return StatusCarriesLength(CurlResponseCode(handle)) ? length : -1.0;
}

std::string CurlClient::GetRealUrl_Str(const std::string& probeUrl) {
    CURL* handle = Head(probeUrl);
    std::string effective = GetRealUrl(handle);
    curl_easy_cleanup(handle);
    return effective.empty() ? probeUrl : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& probeUrl) {
    CURL* handle = curl_easy_init();
    if (!handle) return -1.0;
    int result = curl_easy_setopt(handle, CURLOPT_URL, probeUrl.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    result |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    SetSafetyOptions(handle, kConnectTimeoutSeconds, stallSeconds);
    double length = -1.0;
    if (result == 0) {
        curl_easy_perform(handle);
        CurlContentLength(handle, length);
        long code = 0;
        result = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    }
    DEBUG_LOG("error:%d:%s", result, CurlErrorText(result));
    curl_easy_cleanup(handle);
    return length;
}

size_t CurlClient::HeaderCallback(char* data, size_t size, size_t count, void* client) {
    TrackContentRange(std::string_view(data, size * count), static_cast<CurlClient*>(client)->contentRangeStart);
    return size * count;
}

// Appends only bytes at the part file's end: a 206 must start where the part
// file ends; a 200 carries the whole body, so the part file starts again.
bool CurlClient::AcceptResponse() {
    const long code = CurlResponseCode(curl);
    const int64_t expectedStart = resumeFrom > 0 ? resumeFrom : 0;
    if (ResponseStartsAt(code, contentRangeStart, expectedStart)) return true;
    if (code != 200) return false;
    DEBUG_LOG("server ignored the range, restarting the part file");
    if (!RestartPartFile()) return false;
    resumeFrom = 0;
    return true;
}

bool CurlClient::RestartPartFile() {
    return std::fflush(partFile) == 0 && ::ftruncate(::fileno(partFile), 0) == 0;
}

size_t CurlClient::WriteCallback(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<CurlClient*>(client);
    if (!self->partFile) return 0;
    if (!self->responseChecked) {
        if (!self->AcceptResponse()) return 0;
        self->responseChecked = true;
    }
    return std::fwrite(data, size, count, self->partFile);
}

int CurlClient::ProgressCallback(void* client, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto* self = static_cast<CurlClient*>(client);
    if (self->stopRequested) return 1;
    const int64_t seconds = static_cast<int64_t>(std::time(nullptr));
    if (seconds <= self->lastProgressTime) return 0;
    self->lastProgressTime = seconds;

    const double speed = CurlDownloadSpeed(self->curl);
    double percent;
    if (self->fileLength > kMinimumLength) {
        percent = static_cast<double>(now + self->resumeFrom) / self->fileLength * 100;
    } else {
        if (now <= 0 || total <= 0) return 0;
        percent = static_cast<double>(now) * 100 / static_cast<double>(total);
    }
    if (percent == 0.0) return 0;
    if (self->progressFn) self->progressFn(self->owner, speed, 0.0, percent);
    if (total != 0) {
        DEBUG_LOG(" %dM %dM   progress:%f%%  speed:%f \n", static_cast<int>(now / 1048576),
                  static_cast<int>(total / 1048576), static_cast<double>(static_cast<float>(percent)),
                  static_cast<double>(static_cast<float>(speed / 1024)));
    }
    return 0;
}
