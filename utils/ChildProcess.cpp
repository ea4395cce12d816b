#include "utils/ChildProcess.h"

#include "platform/CommandLine.h"
#include "platform/TextConversion.h"
#include "utils/Exception.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Utils {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Like process creation on Windows, an unquoted program path with blanks in
// it is found by trying ever longer prefixes that end at a blank.
std::vector<std::string> ProgramAndArguments(const std::string& commandLine) {
    std::vector<std::string> args = Platform::SplitCommandLine(commandLine);
    const std::size_t start = commandLine.find_first_not_of(" \t");
    if (args.empty() || commandLine[start] == '"' || args[0].find('/') == std::string::npos ||
        IsRegularFile(args[0])) {
        return args;
    }
    std::size_t end = commandLine.find_first_of(" \t", start);
    while (end != std::string::npos) {
        const std::size_t next = commandLine.find_first_not_of(" \t", end);
        if (next == std::string::npos) break;
        end = commandLine.find_first_of(" \t", next);
        const std::string candidate = commandLine.substr(start, end == std::string::npos ? end : end - start);
        if (candidate.find('"') != std::string::npos) break;
        if (!IsRegularFile(candidate)) continue;
        std::vector<std::string> resolved{candidate};
        const std::string_view rest = end == std::string::npos ? "" : std::string_view(commandLine).substr(end);
        for (auto& arg : Platform::SplitArguments(rest)) resolved.push_back(std::move(arg));
        return resolved;
    }
    return args;
}

// The inherited environment with the child's whole command line added.
std::vector<std::string> ChildEnvironment(const std::string& commandLine) {
    const std::string prefix = std::string(Platform::kCommandLineVariable) + "=";
    std::vector<std::string> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (std::string_view(*entry).substr(0, prefix.size()) != prefix) variables.emplace_back(*entry);
    }
    variables.push_back(prefix + commandLine);
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

uint32_t ExitCodeOf(int status) {
    if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return 128u + static_cast<uint32_t>(WTERMSIG(status));
    return 0;
}

int PollOne(int fd, int timeoutMs) {
    pollfd entry{fd, POLLIN, 0};
    const int ready = ::poll(&entry, 1, timeoutMs);
    return ready < 0 && errno != EINTR ? -1 : ready;
}

class SpawnFileActions {
public:
    SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    bool Dup(int from, int to) { return posix_spawn_file_actions_adddup2(&actions_, from, to) == 0; }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess() {
    Close();
}

void ChildProcess::Start(const std::string& commandLine) {
    if (pid_ > 0 || Platform::Utf8Length(commandLine) > kMaxCommandLineChars) throw Exception();
    std::vector<std::string> args = ProgramAndArguments(commandLine);
    if (args.empty()) throw Exception();
    std::vector<char*> argv = Pointers(args);
    std::vector<std::string> variables = ChildEnvironment(commandLine);
    std::vector<char*> envp = Pointers(variables);

    // The child's ends are duplicated onto its standard handles, which clears
    // close-on-exec there only; every other descriptor of ours stays behind.
    SpawnFileActions actions;
    if (!actions.Dup(inputPipe_.ReadEnd(), STDIN_FILENO) || !actions.Dup(outputPipe_.WriteEnd(), STDOUT_FILENO) ||
        !actions.Dup(errorPipe_.WriteEnd(), STDERR_FILENO)) {
        throw Exception();
    }
    StartErrorDrain();  // before the child exists, so a failure here leaves nothing running
    pid_t pid = -1;
    if (::posix_spawnp(&pid, argv[0], actions.Get(), nullptr, argv.data(), envp.data()) != 0) throw Exception();
    pid_ = pid;

    // Only once we hold no write end does a read on the output end at the child's exit.
    outputPipe_.CloseWrite();
    errorPipe_.CloseWrite();
    inputPipe_.CloseRead();
}

void ChildProcess::StartErrorDrain() {
    stopDrain_ = ::eventfd(0, EFD_CLOEXEC);
    if (stopDrain_ < 0) throw Exception();  // without a stop signal the drain could not be joined
    errorDrain_ = std::thread([errorFd = errorPipe_.ReadEnd(), stopFd = stopDrain_] {
        char buffer[65536];
        pollfd entries[2] = {{errorFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        for (;;) {
            if (::poll(entries, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (entries[1].revents != 0) return;
            if (entries[0].revents == 0) continue;
            const ssize_t n = ::read(errorFd, buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return;
        }
    });
}

void ChildProcess::StopErrorDrain() {
    if (stopDrain_ < 0) return;
    const uint64_t one = 1;
    while (::write(stopDrain_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    if (errorDrain_.joinable()) errorDrain_.join();
    ::close(stopDrain_);
    stopDrain_ = -1;
}

bool ChildProcess::ReadOutput(std::string& chunk) {
    const int fd = outputPipe_.ReadEnd();
    if (fd < 0) return false;
    char buffer[kChunkBytes];
    ssize_t n;
    do {
        n = ::read(fd, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    const void* nul = std::memchr(buffer, '\0', static_cast<std::size_t>(n));
    chunk.assign(buffer, nul ? static_cast<const char*>(nul) - buffer : n);
    return true;
}

bool ChildProcess::ReadPendingOutput(std::string& chunk) {
    return PollOne(outputPipe_.ReadEnd(), 0) > 0 && ReadOutput(chunk);
}

bool ChildProcess::Reap(int options) {
    if (reaped_) return true;
    if (pid_ <= 0) return false;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid_, &status, options);
    } while (done < 0 && errno == EINTR);
    if (done == 0) return false;
    reaped_ = true;
    exitCode_ = done == pid_ ? ExitCodeOf(status) : 0;
    return true;
}

uint32_t ChildProcess::ExitStatus() {
    if (pid_ <= 0) return 0;
    return Reap(WNOHANG) ? exitCode_ : kStillActive;
}

void ChildProcess::DiscardOutputUntilEnd() {
    std::string ignored;
    while (!Reap(WNOHANG)) {
        const int ready = PollOne(outputPipe_.ReadEnd(), 100);
        if (ready < 0) return;
        if (ready > 0 && !ReadOutput(ignored)) return;
    }
}

uint32_t ChildProcess::Wait() {
    if (pid_ <= 0) return 0;
    if (outputPipe_.ReadEnd() >= 0) DiscardOutputUntilEnd();
    Reap(0);
    return exitCode_;
}

void ChildProcess::Close() {
    StopErrorDrain();
    Reap(WNOHANG);  // an ended child leaves no zombie behind
    inputPipe_.CloseRead();
    inputPipe_.CloseWrite();
    outputPipe_.CloseRead();
    outputPipe_.CloseWrite();
    errorPipe_.CloseRead();
    errorPipe_.CloseWrite();
}

}  // namespace Utils
