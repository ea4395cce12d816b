#pragma once

#include <string>

namespace Utils {

struct OsVersion {
    std::string systemName;
    std::string versionName;
};

// "Linux" and the kernel release; the version name is "" when uname fails.
OsVersion GetOsVersion();

// The Windows version name of major.minor.build ("XP", "7", "10+", ... or "12.0.100").
std::string WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool isServerR2);

// True when the machine is 64-bit.
bool IsWow64();
// True for a uname machine name of a 64-bit architecture ("x86_64", "aarch64", ...).
bool IsMachine64Bit(const std::string& machine);

}  // namespace Utils
