#include "utils/Accounts.h"

#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>
#include <grp.h>
#include <pwd.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace Utils {
namespace {

constexpr const char* kSeat0File = "/run/systemd/seats/seat0";

// The value of "KEY=value" in a logind state file.
std::string_view StateValue(std::string_view text, std::string_view key) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=')
            return line.substr(key.size() + 1);
        start = end + 1;
    }
    return {};
}

std::vector<char> PasswdBuffer() {
    const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    return std::vector<char>(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
}

bool IsAdminGroup(gid_t gid) {
    const long hint = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
    const std::string_view name(found->gr_name);
    return name == "sudo" || name == "wheel" || name == "admin";
}

// Every group of the account, its primary group included; none when they cannot be read.
std::vector<gid_t> GroupsOf(const passwd& user) {
    int count = 64;
    std::vector<gid_t> groups;
    for (int attempt = 0; attempt < 4; ++attempt) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(user.pw_name, user.pw_gid, groups.data(), &count) >= 0) {
            groups.resize(static_cast<std::size_t>(count));
            return groups;
        }
        count = std::max(count, static_cast<int>(groups.size()) * 2);
    }
    return {};
}

}  // namespace

bool IsTokenAdmin() { return ::geteuid() == 0; }

bool GetConsoleUserNameFromSeatFile(const std::string& seatFile, std::string& name) {
    name.clear();
    std::string text;
    if (!Platform::ReadWholeFile(seatFile, text)) return false;
    const std::string_view uidText = StateValue(text, "ACTIVE_UID");
    uid_t uid = 0;
    const auto [end, ec] = std::from_chars(uidText.data(), uidText.data() + uidText.size(), uid);
    if (uidText.empty() || ec != std::errc() || end != uidText.data() + uidText.size()) return false;

    std::vector<char> buffer = PasswdBuffer();
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
    name = found->pw_name;
    return true;
}

bool GetConsoleUserName(std::string& name) { return GetConsoleUserNameFromSeatFile(kSeat0File, name); }

bool IsUserAdmin(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    std::vector<char> buffer = PasswdBuffer();
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
    if (found->pw_uid == 0) return true;

    for (gid_t gid : GroupsOf(*found))
        if (IsAdminGroup(gid)) return true;
    return false;
}

bool IsConsoleUserAdmin() {
    std::string user;
    return GetConsoleUserName(user) && IsUserAdmin(user);
}

}  // namespace Utils
