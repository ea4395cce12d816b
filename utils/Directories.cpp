#include "utils/Directories.h"

#include "platform/FileSystem.h"
#include "platform/TextConversion.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace Utils {
namespace {

constexpr const char* kWorkFolderName = "~TekdorTemp.92482B06FB471E17";
constexpr std::size_t kMaxWorkFolderChars = 259;
constexpr std::size_t kMaxPathChars = 260;

// The folder is shared with every user of /tmp: accept only a real folder of our own
// that nobody else may write into, never a link planted by someone else.
bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool MakeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && Platform::DirectoryExists(path));
}

}  // namespace

std::string GetTempWorkFolderIn(const std::string& tempFolder) {
    if (tempFolder.empty() || tempFolder.find('\0') != std::string::npos) return "";
    const std::string folder = Platform::JoinPath(tempFolder, kWorkFolderName);
    if (Platform::Utf8Length(folder) + 1 > kMaxWorkFolderChars) return "";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "";
    return IsPrivateFolder(folder) ? folder + "/" : "";
}

std::string GetTempWorkFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    return GetTempWorkFolderIn(tmpdir && *tmpdir ? tmpdir : "/tmp");
}

bool CreateDirectories(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos || Platform::Utf8Length(path) > kMaxPathChars)
        return false;
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash + 1);
        if (!Platform::DirectoryExists(prefix) && !MakeFolder(prefix)) return false;
    }
    return Platform::DirectoryExists(path) || MakeFolder(path);
}

}  // namespace Utils
