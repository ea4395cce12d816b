#include "utils/OsVersion.h"

#include <string_view>
#include <sys/utsname.h>

namespace Utils {

OsVersion GetOsVersion() {
    struct utsname names {};
    if (::uname(&names) != 0) return {"Linux", ""};
    return {"Linux", names.release};
}

std::string WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool isServerR2) {
    build &= 0xFFFF;
    if (major <= 4) return "XP-";
    if (major == 5) {
        if (minor == 0) return "2K";
        if (minor == 1) return "XP";
        if (minor == 2) return isServerR2 ? "Server 2003 R2" : "Server 2003";
        return "XP+";
    }
    if (major == 6) {
        static constexpr const char* kNames[] = {"Vista", "7", "8", "8.1"};
        return minor < 4 ? kNames[minor] : "8.1+";
    }
    if (major == 10) return minor == 0 ? "10" : "10+";
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
}

bool IsMachine64Bit(const std::string& machine) {
    static constexpr std::string_view kMachines[] = {"x86_64",  "aarch64", "arm64",   "ppc64",  "ppc64le",
                                                     "s390x",   "riscv64", "sparc64", "mips64", "loongarch64",
                                                     "alpha",   "ia64"};
    for (std::string_view known : kMachines)
        if (machine == known) return true;
    return false;
}

bool IsWow64() {
    struct utsname names {};
    return ::uname(&names) == 0 && IsMachine64Bit(names.machine);
}

}  // namespace Utils
