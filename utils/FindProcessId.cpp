#include "utils/FindProcessId.h"

#include "platform/FileSystem.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace Utils {
namespace {

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// The executable's file name; argv[0] when the link is not ours to read.
std::string ExecutableNameOf(const std::string& pid) {
    const std::string proc = "/proc/" + pid;
    char target[PATH_MAX];
    const ssize_t n = ::readlink((proc + "/exe").c_str(), target, sizeof target);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof target) {
        std::string_view path(target, static_cast<std::size_t>(n));
        constexpr std::string_view kDeleted = " (deleted)";
        if (path.ends_with(kDeleted)) path.remove_suffix(kDeleted.size());
        return FileNameOf(path);
    }
    std::string cmdline;
    if (!Platform::ReadWholeFile(proc + "/cmdline", cmdline)) return "";
    return FileNameOf(std::string_view(cmdline.c_str()));
}

bool IsProcessIdName(const char* name) {
    if (!*name) return false;
    for (const char* c = name; *c; ++c)
        if (!std::isdigit(static_cast<unsigned char>(*c))) return false;
    return true;
}

}  // namespace

uint32_t FindProcessId(const std::string& name) {
    if (name.empty()) return 0;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc) return 0;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsProcessIdName(entry->d_name)) continue;
        if (ExecutableNameOf(entry->d_name) != name) continue;
        uint32_t pid = 0;
        const std::string_view digits(entry->d_name);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), pid).ec == std::errc()) return pid;
    }
    return 0;
}

}  // namespace Utils
