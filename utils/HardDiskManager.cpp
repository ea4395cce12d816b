#include "utils/HardDiskManager.h"

#include "utils/DebugLog.h"

#include <cerrno>
#include <sys/statvfs.h>

namespace Utils {

bool HardDiskManager::CheckFreeSpace(const std::string& folder) {
    struct statvfs figures {};
    if (folder.empty() || ::statvfs(folder.c_str(), &figures) != 0) {
        DEBUG_LOG("HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", static_cast<long>(folder.empty() ? ENOENT : errno));
        return false;
    }
    const uint64_t unit = figures.f_frsize ? figures.f_frsize : figures.f_bsize;
    freeBytesAvailable = static_cast<uint64_t>(figures.f_bavail) * unit;
    totalBytes = static_cast<uint64_t>(figures.f_blocks) * unit;
    totalFreeBytes = static_cast<uint64_t>(figures.f_bfree) * unit;
    return true;
}

}  // namespace Utils
