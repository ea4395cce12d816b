#pragma once

#include <curl/curl.h>

// libcurl's text for a result; the client's own negative codes and anything
// else outside libcurl's range get libcurl's text for an unknown code.
inline const char* CurlErrorText(int result) {
    if (result < 0 || result >= static_cast<int>(CURL_LAST)) return curl_easy_strerror(CURL_LAST);
    return curl_easy_strerror(static_cast<CURLcode>(result));
}

// The declared content length in bytes (-1.0 when unknown); returns the query's result.
inline int CurlContentLength(CURL* handle, double& length) {
    curl_off_t bytes = -1;
    const CURLcode result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &bytes);
    length = result == CURLE_OK ? static_cast<double>(bytes) : -1.0;
    return result;
}

// Average download speed in bytes per second, 0.0 when unknown.
inline double CurlDownloadSpeed(CURL* handle) {
    curl_off_t speed = 0;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_SPEED_DOWNLOAD_T, &speed) != CURLE_OK) return 0.0;
    return static_cast<double>(speed);
}
