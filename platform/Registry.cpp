#include "platform/Registry.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace Platform {
namespace {

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool HasOuterBlank(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !s.empty() && (blank(s.front()) || blank(s.back()));
}

// The ini form would change or lose these on the way back.
bool IsStorableKeyPath(std::string_view keyPath) {
    return !keyPath.empty() && !HasLineBreakOrNul(keyPath) && !HasOuterBlank(keyPath) &&
           keyPath.find(']') == std::string_view::npos;
}

bool IsStorableName(std::string_view name) {
    return !name.empty() && !HasLineBreakOrNul(name) && !HasOuterBlank(name) &&
           name.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '[';
}

// Holds an exclusive lock on "<store>.lock" for one read-modify-write; without
// a lock file the write still goes ahead (it stays atomic, only unserialised).
class StoreLock {
public:
    explicit StoreLock(const std::string& storePath)
        : fd_(::open((storePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~StoreLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    int fd_;
};

}  // namespace

std::string Registry::UserStorePath() {
    if (std::string file = EnvironmentValue(kStoreFileVariable); !file.empty()) return file;
    std::string configHome = EnvironmentValue("XDG_CONFIG_HOME");
    if (configHome.empty() || configHome.front() != '/') {
        const std::string home = EnvironmentValue("HOME");
        if (home.empty()) return "";
        configHome = JoinPath(home, ".config");
    }
    return JoinPath(configHome, "nuvalo-installer/registry.ini");
}

Registry::Registry() : Registry(UserStorePath()) {}

Registry::Registry(std::string storePath) : storePath_(std::move(storePath)) {}

bool Registry::WriteString(std::string_view keyPath, std::string_view name, std::string_view text) const {
    if (storePath_.empty() || !IsStorableKeyPath(keyPath) || !IsStorableName(name) || HasLineBreakOrNul(text))
        return false;
    std::error_code error;
    const std::string folder = ParentFolder(storePath_);
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    const StoreLock lock(storePath_);
    std::optional<IniFile> store = IniFile::LoadForUpdate(storePath_);
    return store && store->Set(keyPath, name, "\"" + std::string(text) + "\"") && store->Save(storePath_);
}

std::optional<std::string> Registry::ReadString(std::string_view keyPath, std::string_view name) const {
    if (storePath_.empty() || !IsStorableKeyPath(keyPath) || !IsStorableName(name)) return std::nullopt;
    return IniFile::Load(storePath_).Get(keyPath, name);
}

}  // namespace Platform
