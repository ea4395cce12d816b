#include "ui/MainWndServices.h"

#include "platform/FileSystem.h"
#include "ui/CMessageBoxWnd.h"
#include "ui/DesktopShell.h"
#include "utils/CheckNetwork.h"
#include "utils/FindProcessId.h"
#include "utils/HardDiskManager.h"
#include "utils/Stopwatch.h"

#include <sys/stat.h>

namespace {

bool DeviceOf(const std::string& path, dev_t& device)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    device = info.st_dev;
    return true;
}

// "/a/b/" → "/a", "/a" → "/", "/" → "".
std::string ParentOf(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path == "/") return "";
    const std::string parent = Platform::ParentFolder(path);
    return parent.empty() ? "/" : parent;
}

}  // namespace

std::string MainWndServices::MountPointOf(const std::string& folder)
{
    if (folder.empty() || folder.front() != '/') return "";
    std::string path = folder;
    dev_t device = 0;
    while (!path.empty() && !DeviceOf(path, device)) path = ParentOf(path);
    if (path.empty()) return "";
    // Climb while the parent is still on the same file system.
    for (std::string parent = ParentOf(path); !parent.empty(); parent = ParentOf(path)) {
        dev_t parentDevice = 0;
        if (!DeviceOf(parent, parentDevice) || parentDevice != device) break;
        path = parent;
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

MainWndServices MainWndServices::Real()
{
    MainWndServices services;
    services.shellOpen = [](const std::string& target, const std::string& workFolder) {
        DesktopShell::Open(target, workFolder);
    };
    services.pickFolder = &DesktopShell::PickFolder;
    services.driveOf = &MountPointOf;
    services.freeSpace = [](const std::string& drive, uint64_t& freeBytes) {
        Utils::HardDiskManager disk;
        if (!disk.CheckFreeSpace(drive)) return false;
        freeBytes = disk.freeBytesAvailable;
        return true;
    };
    services.checkNetwork = &Utils::CheckNetwork;
    services.findProcess = &Utils::FindProcessId;
    services.tickCount = &Utils::Stopwatch::TickCount;
    services.showMessageBox = [](Platform::WindowId owner, const std::string& skinFile,
                                 std::optional<std::string_view> text, std::optional<std::string_view> caption) {
        return ShowMessageBox(owner, skinFile, text, caption);
    };
    return services;
}
