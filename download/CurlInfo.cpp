#include "download/CurlInfo.h"

#include <strings.h>

#include <charconv>

const char* CurlErrorText(int result) {
    if (result < 0 || result >= static_cast<int>(CURL_LAST)) return curl_easy_strerror(CURL_LAST);
    return curl_easy_strerror(static_cast<CURLcode>(result));
}

int CurlContentLength(CURL* handle, double& length) {
    curl_off_t bytes = -1;
    const CURLcode result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &bytes);
    length = result == CURLE_OK ? static_cast<double>(bytes) : -1.0;
    return result;
}

double CurlDownloadSpeed(CURL* handle) {
    curl_off_t speed = 0;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_SPEED_DOWNLOAD_T, &speed) != CURLE_OK) return 0.0;
    return static_cast<double>(speed);
}

long CurlResponseCode(CURL* handle) {
    long code = 0;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code) != CURLE_OK) return 0;
    return code;
}

std::string CurlEffectiveUrl(CURL* handle) {
    char* effective = nullptr;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK || !effective) return "";
    return effective;
}

size_t DiscardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

int64_t ContentRangeStart(std::string_view line) {
    static constexpr std::string_view kName = "content-range:";
    static constexpr std::string_view kUnit = "bytes";
    if (line.size() < kName.size() || strncasecmp(line.data(), kName.data(), kName.size()) != 0) return -1;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kUnit.size()) != kUnit) return -1;
    line.remove_prefix(kUnit.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    int64_t first = -1;
    const auto result = std::from_chars(line.data(), line.data() + line.size(), first);
    const bool valid = result.ec == std::errc() && result.ptr != line.data() &&
                       result.ptr < line.data() + line.size() && *result.ptr == '-';
    return valid ? first : -1;
}

void TrackContentRange(std::string_view line, int64_t& contentRangeStart) {
    if (line.rfind("HTTP/", 0) == 0) contentRangeStart = -1;
    const int64_t start = ContentRangeStart(line);
    if (start >= 0) contentRangeStart = start;
}

void SetSafetyOptions(CURL* handle, long connectTimeoutSeconds, long stallSeconds) {
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, stallSeconds);
}

bool ResponseStartsAt(long status, int64_t contentRangeStart, int64_t offset) {
    return (status == 206 && contentRangeStart == offset) || (status == 200 && offset == 0);
}
