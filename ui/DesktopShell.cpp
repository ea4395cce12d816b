#include "ui/DesktopShell.h"

#include "platform/FileSystem.h"
#include "skinui/CWindowWnd.h"
#include "utils/DebugLog.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace {

// A picker's answer is one path; anything longer is not one.
constexpr size_t kMaxPickerOutput = 64 * 1024;

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Spawns args with standard input and error on /dev/null and standard output
// on outputFd (-1: /dev/null too); 0 when it could not be started.
pid_t Spawn(const std::vector<std::string>& args, int outputFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0) posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : 0;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while (text.size() < kMaxPickerOutput && (n = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

}  // namespace

std::string DesktopShell::FindProgram(const std::vector<std::string>& names)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    for (const std::string& name : names) {
        for (size_t start = 0; start <= folders.size();) {
            size_t end = folders.find(':', start);
            if (end == std::string::npos) end = folders.size();
            const std::string candidate = Platform::JoinPath(folders.substr(start, end - start), name);
            if (end > start && IsExecutableFile(candidate)) return candidate;
            start = end + 1;
        }
    }
    return "";
}

bool DesktopShell::Open(const std::string& target, const std::string& workFolder)
{
    std::vector<std::string> command;
    if (IsExecutableFile(target)) {
        command = {target};
    } else {
        const std::string opener = FindProgram({"xdg-open"});
        if (opener.empty()) {
            DEBUG_LOG("no xdg-open to open %s", target.c_str());
            return false;
        }
        command = {opener, target};
    }
    // The shell backgrounds the program and ends at once, so the program
    // belongs to nobody here and leaves no zombie behind.
    std::vector<std::string> args = {"/bin/sh", "-c", "cd -- \"$1\" 2>/dev/null; shift; \"$@\" &", "sh",
                                     workFolder.empty() ? "." : workFolder};
    args.insert(args.end(), command.begin(), command.end());
    const pid_t shell = Spawn(args, -1);
    if (shell == 0) return false;
    int status = 0;
    ::waitpid(shell, &status, 0);
    DEBUG_LOG("opened %s", target.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::optional<std::string> DesktopShell::PickFolder(Platform::WindowId owner, const std::string& title)
{
    std::vector<std::string> args;
    if (const std::string zenity = FindProgram({"zenity"}); !zenity.empty()) {
        args = {zenity, "--file-selection", "--directory", "--title=" + title};
    } else if (const std::string kdialog = FindProgram({"kdialog"}); !kdialog.empty()) {
        args = {kdialog, "--getexistingdirectory", ".", "--title", title};
    } else {
        return std::nullopt;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    const pid_t picker = Spawn(args, fds[1]);
    ::close(fds[1]);
    if (picker == 0) {
        ::close(fds[0]);
        return std::nullopt;
    }
    // The window takes no input meanwhile, as under a modal dialog.
    Platform::WindowSystem* system = Platform::WindowSystem::Current();
    if (system != nullptr) system->EnableWindow(owner, false);
    int status = 0;
    bool ended = false;
    while (!(ended = ::waitpid(picker, &status, WNOHANG) == picker)) {
        if (!SkinUI::CWindowWnd::PumpMessagesFor(owner)) break;
    }
    if (!ended) {
        ::kill(picker, SIGTERM);
        ::waitpid(picker, &status, 0);
    }
    if (system != nullptr && system->IsWindow(owner)) system->EnableWindow(owner, true);
    std::string path = ReadAll(fds[0]);
    ::close(fds[0]);
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    return path;
}
