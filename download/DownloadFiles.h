#pragma once

#include "platform/TextConversion.h"

#include <sys/stat.h>

#include <cstdint>
#include <string>

// File names for the C runtime calls are in the ANSI code page.
inline std::string AnsiName(const std::string& name) {
    return Platform::EncodeCodePage(name, Platform::kCodePageAnsi);
}

// libcurl gets URLs in UTF-8, except "file:///" URLs, which name local files.
inline std::string NarrowUrl(const std::string& url) {
    return url.rfind("file:///", 0) == 0 ? AnsiName(url) : url;
}

// Size of a file in bytes, -1 when it cannot be queried.
inline int64_t FileSize(const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}
