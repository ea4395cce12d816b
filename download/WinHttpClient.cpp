#include "download/WinHttpClient.h"

#include "download/CurlInfo.h"
#include "download/DownloadFiles.h"
#include "platform/TextConversion.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <regex>

namespace {

constexpr std::size_t kInitialBuffer = 10240;
constexpr std::size_t kMaxHost = 260;
constexpr std::size_t kMaxPath = 1300;

// Every captured text of the pattern in order, skipping repeats (ignoring case).
std::vector<std::string> CollectMatches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it) {
        const std::string capture = (*it)[1].str();
        const bool repeated = std::any_of(found.begin(), found.end(), [&](const std::string& earlier) {
            return strcasecmp(earlier.c_str(), capture.c_str()) == 0;
        });
        if (!repeated) found.push_back(capture);
    }
    return found;
}

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ContainsIgnoringCase(const std::string& text, const std::string& needle) {
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

}  // namespace

WinHttpClient::WinHttpClient(std::string url) : requestUrl(std::move(url)) {}

WinHttpClient::~WinHttpClient() {
    if (sessionHandle) curl_easy_cleanup(sessionHandle);
}

void WinHttpClient::SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) {
    resolveTimeout = resolveMs;
    connectTimeout = connectMs;
    sendTimeout = sendMs;
    receiveTimeout = receiveMs;
}

bool WinHttpClient::SendHttpRequest(const std::string& verb) {
    if (requestUrl.empty()) {
        lastError = kErrorPathNotFound;
        return false;
    }
    const bool isGet = strcasecmp(verb.c_str(), "GET") == 0;
    const bool isPost = strcasecmp(verb.c_str(), "POST") == 0;
    if (!isGet && !isPost) {
        lastError = kErrorInvalidParameter;
        return false;
    }
    if (!sessionHandle && !(sessionHandle = curl_easy_init())) {
        lastError = CURLE_FAILED_INIT;
        return false;
    }
    if (!CrackUrl()) return false;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (abortCheck && abortCheck()) return false;
        ApplyOptions(isGet, isPost);
        const Attempt outcome = SendOnce(isGet);
        if (outcome == Attempt::Succeeded) return true;
    }
    return false;
}

bool WinHttpClient::CrackUrl() {
    CURLU* parsed = curl_url();
    char* host = nullptr;
    char* path = nullptr;
    const bool cracked = parsed && curl_url_set(parsed, CURLUPART_URL, requestUrl.c_str(), 0) == CURLUE_OK &&
                         curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
                         curl_url_get(parsed, CURLUPART_PATH, &path, 0) == CURLUE_OK &&
                         Platform::Utf8Length(host) <= kMaxHost && Platform::Utf8Length(path) <= kMaxPath;
    if (cracked) requestHost = host;
    curl_free(host);
    curl_free(path);
    curl_url_cleanup(parsed);
    if (!cracked) lastError = kErrorInvalidUrl;
    return cracked;
}

void WinHttpClient::ApplyOptions(bool isGet, bool isPost) {
    CURL* handle = sessionHandle;
    curl_easy_reset(handle);
    curl_easy_setopt(handle, CURLOPT_URL, requestUrl.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    if (isGet) curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    if (isPost) {
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, 0L);
    }
    // The resolve and connect limits both end before the connection stands;
    // sending and receiving are bounded by a stall limit, as neither may hang.
    const long connectLimit = connectTimeout > 0 ? connectTimeout + std::max(resolveTimeout, 0) : 0;
    const long stallSeconds = std::max(1, (std::max(sendTimeout, receiveTimeout) + 999) / 1000);
    SetSafetyOptions(handle, 0, stallSeconds);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, connectLimit);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &WinHttpClient::HeaderCallback);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &WinHttpClient::BodyCallback);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &WinHttpClient::ProgressCallback);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
}

WinHttpClient::Attempt WinHttpClient::SendOnce(bool isGet) {
    responseHeader.clear();
    responseBytes.clear();
    responseBytes.reserve(kInitialBuffer);
    bodyBytes = 0;
    const int result = curl_easy_perform(sessionHandle);
    const long status = CurlResponseCode(sessionHandle);
    const bool aborted = result == CURLE_ABORTED_BY_CALLBACK;
    // No response at all is a failed attempt; a body cut off midway still
    // counts as an answer, and the file holds what arrived.
    if (result != CURLE_OK && (status == 0 || aborted || result == CURLE_OUT_OF_MEMORY)) {
        lastError = static_cast<uint32_t>(result);
        return Attempt::Failed;
    }
    if (result != CURLE_OK) lastError = static_cast<uint32_t>(result);
    if (std::string effective = CurlEffectiveUrl(sessionHandle); !effective.empty()) effectiveUrl = std::move(effective);
    ParseHeaders();
    statusCode = std::to_string(status);
    responseByteCountReceived = static_cast<uint32_t>(responseBytes.size());
    DecodeContent();
    if (isGet && ContainsIgnoringCase(responseContent, "<html>") && !ContainsIgnoringCase(responseContent, "</html>")) {
        lastError = kErrorInvalidData;
        return Attempt::Truncated;
    }
    return Attempt::Succeeded;
}

void WinHttpClient::ParseHeaders() {
    static const std::regex kCharset("charset=([A-Za-z0-9\\-_]+)", std::regex::icase);
    static const std::regex kLength("Content-Length: ([0-9]+)", std::regex::icase);
    static const std::regex kLocation("Location: (https?:.+?(?:\\r\\n|\\r|\\n))", std::regex::icase);
    static const std::regex kCookie("Set-Cookie:[ \\t]*(.+?)(?:\\r\\n|\\r|\\n)", std::regex::icase);

    const auto charsets = CollectMatches(responseHeader, kCharset);
    if (!charsets.empty()) responseCharset = charsets.front();
    const auto lengths = CollectMatches(responseHeader, kLength);
    if (!lengths.empty()) responseByteCount = static_cast<uint32_t>(std::strtoull(lengths.front().c_str(), nullptr, 10));
    const auto locations = CollectMatches(responseHeader, kLocation);
    if (!locations.empty()) location = locations.front();
    const auto cookies = CollectMatches(responseHeader, kCookie);
    if (cookies.empty()) return;
    for (const auto& cookie : cookies) responseCookies += (responseCookies.empty() ? "" : "; ") + cookie;
    responseCookies = TrimBlanks(responseCookies);
    if (responseCookies.empty() || responseCookies.back() != ';') responseCookies += ';';
}

void WinHttpClient::DecodeContent() {
    if (responseBytes.empty()) return;
    const std::string_view bytes(responseBytes.data(), responseBytes.size());
    const bool utf8 = strncasecmp(responseCharset.c_str(), "utf-8", 5) == 0;
    std::string decoded = Platform::DecodeCodePage(bytes, utf8 ? Platform::kCodePageUtf8 : Platform::kCodePageAnsi);
    if (decoded.empty()) decoded = Platform::DecodeCodePage(bytes, Platform::kCodePageAnsi);
    if (!decoded.empty()) responseContent = std::move(decoded);
}

size_t WinHttpClient::HeaderCallback(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<WinHttpClient*>(client);
    const std::string_view line(data, size * count);
    if (line.rfind("HTTP/", 0) == 0) self->responseHeader.clear();  // only the final response's headers count
    self->responseHeader.append(line);
    return size * count;
}

void WinHttpClient::SetSaveFilePath(const std::string& path) {
    saveFilePath = path;
    ansiSaveFilePath = AnsiName(path);
}

size_t WinHttpClient::BodyCallback(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<WinHttpClient*>(client);
    const size_t n = size * count;
    self->bodyBytes += n;
    if (!self->saveFilePath.empty()) {
        self->AppendToFile(data, n);
        return n;
    }
    try {
        if (self->responseBytes.size() + n > self->responseBytes.capacity())
            self->responseBytes.reserve(std::max(self->responseBytes.capacity() * 2, self->responseBytes.size() + n));
        self->responseBytes.insert(self->responseBytes.end(), data, data + n);
    } catch (const std::bad_alloc&) {
        return 0;  // libcurl ends the request as failed
    }
    return n;
}

// One open-append-close per chunk, so that the file holds whatever arrived.
bool WinHttpClient::AppendToFile(const char* data, size_t size) {
    std::FILE* file = std::fopen(ansiSaveFilePath.c_str(), "ab+");
    if (!file) {
        std::fprintf(stderr, "Failed to open response file. Error code: %d\n", static_cast<int>(lastError));
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (!written) std::fprintf(stderr, "Failed to write response data. Error code: %d\n", static_cast<int>(lastError));
    return std::fclose(file) == 0 && written;
}

int WinHttpClient::ProgressCallback(void* client, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto* self = static_cast<WinHttpClient*>(client);
    if (self->abortCheck && self->abortCheck()) return 1;
    if (self->progressHook && now > 0)
        self->progressHook(static_cast<uint64_t>(now), static_cast<uint64_t>(std::max<curl_off_t>(total, 0)));
    return 0;
}
