#include "app/InstanceGuard.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "utils/DebugLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

std::string UsableFolder(const char* variable)
{
    std::string value = Platform::EnvironmentValue(variable);
    return value.starts_with('/') && Platform::DirectoryExists(value) ? value : "";
}

bool IsOwnRegularFile(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

bool TryLock(int fd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EINTR) return false;
    }
    return false;
}

}  // namespace

InstanceGuard::InstanceGuard(std::string key) : key_(std::move(key)) {}

InstanceGuard::~InstanceGuard() { Release(); }

std::string InstanceGuard::LockFilePath() const
{
    if (key_.find('/') != std::string::npos || key_.find('\0') != std::string::npos) return "";
    const std::string name = kNamePrefix + key_;
    const std::string runtime = UsableFolder("XDG_RUNTIME_DIR");
    if (!runtime.empty()) return runtime + "/" + name + ".lock";
    std::string temp = UsableFolder("TMPDIR");
    if (temp.empty()) temp = "/tmp";
    // A shared temporary folder: the uid keeps users apart.
    return temp + "/" + name + "-" + std::to_string(::geteuid()) + ".lock";
}

void InstanceGuard::Acquire()
{
    if (IsHeld()) return;
    const std::string path = LockFilePath();
    if (path.empty()) return;
    // Close-on-exec: a package started by the installer must not inherit the lock.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        DEBUG_LOG("cannot open the lock file %s (errno %d)", path.c_str(), errno);
        return;
    }
    // Someone else's file in a shared folder is no lock of ours.
    if (!IsOwnRegularFile(fd) || !TryLock(fd)) {
        DEBUG_LOG("%s is held by another installer or is not ours", path.c_str());
        ::close(fd);
        return;
    }
    lockFd_ = fd;
}

void InstanceGuard::Release()
{
    if (!IsHeld()) return;
    ::flock(lockFd_, LOCK_UN);
    ::close(lockFd_);
    lockFd_ = -1;
}
