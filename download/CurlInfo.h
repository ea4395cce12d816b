#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// libcurl's text for a result; the client's own negative codes and anything
// else outside libcurl's range get libcurl's text for an unknown code.
const char* CurlErrorText(int result);

// The declared content length in bytes (-1.0 when unknown); returns the query's result.
int CurlContentLength(CURL* handle, double& length);

// Average download speed in bytes per second, 0.0 when unknown.
double CurlDownloadSpeed(CURL* handle);

// The HTTP status of the response (0 when there is none).
long CurlResponseCode(CURL* handle);

// A declared length counts only with a 2xx or 3xx status.
inline bool StatusCarriesLength(long status) { return status >= 200 && status <= 399; }

// The URL the last transfer ended at, after redirects ("" when unknown).
std::string CurlEffectiveUrl(CURL* handle);

// A write function that accepts and discards everything (body-less probes).
size_t DiscardBody(char* data, size_t size, size_t count, void* unused);

// The first offset of a "Content-Range: bytes <first>-<last>/<size>" header
// line, or -1 for any other line.
int64_t ContentRangeStart(std::string_view headerLine);

// Keeps the Content-Range start of the current response: a status line (a
// new response, after a redirect) forgets the previous one.
void TrackContentRange(std::string_view headerLine, int64_t& contentRangeStart);

// Verified TLS, a bounded connect and a stall limit (below 1 byte a second for
// stallSeconds), for every request this program makes.
void SetSafetyOptions(CURL* handle, long connectTimeoutSeconds, long stallSeconds);

// True when a response carries the bytes from offset on: a 206 whose
// Content-Range starts there, or a 200 (the whole body) when offset is 0.
bool ResponseStartsAt(long status, int64_t contentRangeStart, int64_t offset);
