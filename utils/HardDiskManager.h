#pragma once

#include <cstdint>
#include <string>

namespace Utils {

// Free-space figures of the file system that holds a folder; zero until a successful probe.
class HardDiskManager {
public:
    virtual ~HardDiskManager() = default;

    // True when the three counts were filled; on failure they keep their values.
    bool CheckFreeSpace(const std::string& folder);

    uint64_t freeBytesAvailable = 0;
    uint64_t totalBytes = 0;
    uint64_t totalFreeBytes = 0;
};

}  // namespace Utils
