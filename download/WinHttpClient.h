#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A small synchronous HTTP client: one GET or POST with up to three attempts,
// the proxy of the user's environment, a few response headers picked out, and
// the body either appended to a file or kept in memory as text.
class WinHttpClient {
public:
    static constexpr int kAttempts = 3;
    static constexpr uint32_t kErrorPathNotFound = 3;     // no URL
    static constexpr uint32_t kErrorInvalidData = 13;     // truncated page
    static constexpr uint32_t kErrorInvalidParameter = 87;
    static constexpr uint32_t kErrorInvalidUrl = 12005;

    // (bytes received in this response, its Content-Length or 0 when unknown)
    using ProgressHook = std::function<void(uint64_t received, uint64_t total)>;
    // True when the request is to be abandoned.
    using AbortCheck = std::function<bool()>;

    explicit WinHttpClient(std::string url);
    ~WinHttpClient();
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    bool SendHttpRequest(const std::string& verb);

    void SetSaveFilePath(const std::string& path);
    void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    void SetProgressHook(ProgressHook hook) { progressHook = std::move(hook); }
    void SetAbortCheck(AbortCheck check) { abortCheck = std::move(check); }

    const std::string& GetResponseHeader() const { return responseHeader; }
    const std::string& GetResponseContent() const { return responseContent; }
    const std::string& GetResponseCharset() const { return responseCharset; }
    const std::string& GetResponseCookies() const { return responseCookies; }
    const std::string& GetLocation() const { return location; }
    const std::string& GetStatusCode() const { return statusCode; }
    const std::string& GetRequestHost() const { return requestHost; }
    const std::string& GetEffectiveUrl() const { return effectiveUrl; }
    uint32_t GetLastError() const { return lastError; }
    uint32_t GetResponseByteCount() const { return responseByteCount; }
    uint32_t GetResponseByteCountReceived() const { return responseByteCountReceived; }
    // Body bytes of the last response, written to the file or kept in memory.
    uint64_t GetBodyBytes() const { return bodyBytes; }

private:
    enum class Attempt { Failed, Succeeded, Truncated };

    bool CrackUrl();
    Attempt SendOnce(bool isGet);
    void ApplyOptions(bool isGet, bool isPost);
    void ParseHeaders();
    void DecodeContent();
    bool AppendToFile(const char* data, size_t size);

    static size_t HeaderCallback(char* data, size_t size, size_t count, void* client);
    static size_t BodyCallback(char* data, size_t size, size_t count, void* client);
    static int ProgressCallback(void* client, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t);

    CURL* sessionHandle = nullptr;
    std::string requestUrl;
    std::string requestHost;
    std::string responseHeader;
    std::string responseContent;
    std::string responseCharset;
    std::vector<char> responseBytes;
    uint32_t responseByteCountReceived = 0;
    uint32_t responseByteCount = 0;
    std::string responseCookies;
    uint32_t lastError = 0;
    std::string statusCode;
    std::string userAgent = "WinHttpClient";
    std::string location;
    int resolveTimeout = 0;
    int connectTimeout = 60000;
    int sendTimeout = 30000;
    int receiveTimeout = 30000;
    std::string saveFilePath;
    std::string ansiSaveFilePath;  // converted once: the body arrives in many chunks

    std::string effectiveUrl;
    uint64_t bodyBytes = 0;
    ProgressHook progressHook;
    AbortCheck abortCheck;
};
