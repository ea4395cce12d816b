#pragma once

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One byte range of a multi-part download and its part file.
struct DownloadPartNode {
    static constexpr int kPending = -1;
    static constexpr int kFileError = -2;

    std::FILE* file = nullptr;         // open for appending while the part transfers
    int64_t nextOffset = 0;            // package offset of the next byte still needed
    int64_t lastOffset = -1;           // package offset of the part's last byte (inclusive)
    CURL* curl = nullptr;              // kept for all attempts of the part
    std::string url;
    std::string partPath;
    int status = kPending;             // 0 complete, -1 pending, -2 no part file, else libcurl's result
    std::atomic<int64_t> received{0};  // bytes of this part on disk

    // Per transfer: whether the response was checked to start at nextOffset.
    bool responseChecked = false;
    int64_t contentRangeStart = -1;
    std::vector<char> fileBuffer;
};
