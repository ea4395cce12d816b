#pragma once

#include "download/StopSignal.h"
#include "utils/EventCallback.h"

#include <cstdint>
#include <utility>

// Download events, sent through the downloader's EventCallback.
inline constexpr int32_t DL_CODE_START = 1001;
inline constexpr int32_t DL_CODE_PROGRESS = 1002;
inline constexpr int32_t DL_CODE_SUCCESS = 1003;
inline constexpr int32_t DL_CODE_FAIL = 1004;
inline constexpr int32_t DL_CODE_RETRY = 1005;
inline constexpr int32_t DL_CODE_NOTICE = 1006;

// The one interface of the package downloaders. Start begins an attempt on the
// downloader's own thread and returns at once; every attempt begins with
// DL_CODE_START and ends with DL_CODE_SUCCESS, DL_CODE_FAIL or DL_CODE_RETRY,
// after which the receiver calls Start again. Destruction stops a running
// attempt and waits for its threads.
class CDownloader {
public:
    virtual ~CDownloader() = default;
    virtual void Start() = 0;

protected:
    explicit CDownloader(EventCallback callback) : callback(std::move(callback)) {}

    // Passes an event on, unless the downloader is being destroyed.
    void Send(int32_t code, double value, const char* text) const {
        if (!stop.Raised() && callback) callback(code, value, text);
    }

    EventCallback callback;
    StopSignal stop;  // raised by the destructor of the concrete downloader
};
