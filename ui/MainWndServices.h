#pragma once

#include "platform/WindowSystem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the main window asks of the desktop and of the system, as functions a
// test can replace; Real() gives the ones the installer uses.
struct MainWndServices {
    // The shell's "open" of a page, a document or the product.
    std::function<void(const std::string& target, const std::string& workFolder)> shellOpen;
    // The folder picker over the window; nothing when cancelled.
    std::function<std::optional<std::string>(Platform::WindowId owner, const std::string& title)> pickFolder;
    // The mount point ("drive") holding a folder, which need not exist yet.
    std::function<std::string(const std::string& folder)> driveOf;
    // Bytes free for this user on a drive; false (freeBytes untouched) when the probe fails.
    std::function<bool(const std::string& drive, uint64_t& freeBytes)> freeSpace;
    // The network probe's result (bits above 0xFFFF: no usable internet connection).
    std::function<uint32_t()> checkNetwork;
    // Id of a running process with this executable name, or 0.
    std::function<uint32_t(const std::string& exeName)> findProcess;
    // Millisecond tick count for the download stopwatch.
    std::function<uint32_t()> tickCount;
    // One skinned dialog over owner; answers as ShowMessageBox does.
    std::function<int(Platform::WindowId owner, const std::string& skinFile, std::optional<std::string_view> text,
                      std::optional<std::string_view> caption)>
        showMessageBox;

    static MainWndServices Real();
    // The mount point holding folder or its nearest existing ancestor; "" when none can be examined.
    static std::string MountPointOf(const std::string& folder);
};
