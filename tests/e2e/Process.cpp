#include "tests/e2e/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace {

long NowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& extra)
{
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals != nullptr) merged[std::string(*entry, static_cast<size_t>(equals - *entry))] = equals + 1;
    }
    for (const auto& [name, value] : extra) merged[name] = value;
    std::vector<std::string> result;
    for (const auto& [name, value] : merged) result.push_back(name + "=" + value);
    return result;
}

}  // namespace

Process::Process(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> env = MergedEnvironment(environment);
    std::vector<char*> envp;
    for (const std::string& entry : env) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    output_ = fds[0];
}

Process::~Process()
{
    Stop();
    if (output_ >= 0) ::close(output_);
}

std::optional<int> Process::Poll()
{
    if (exit_ || pid_ <= 0) return pid_ <= 0 ? std::optional<int>(-1) : exit_;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_;
}

std::optional<int> Process::WaitFor(int limitMs)
{
    const long end = NowMs() + limitMs;
    while (!Poll() && NowMs() < end) ::usleep(20000);
    return Poll();
}

std::optional<std::string> Process::ReadLine(int limitMs)
{
    const long end = NowMs() + limitMs;
    for (;;) {
        const size_t newline = buffered_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const long left = end - NowMs();
        if (left <= 0 || output_ < 0) return std::nullopt;
        pollfd p{output_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = ::read(output_, chunk, sizeof chunk);
        if (n <= 0) return std::nullopt;
        buffered_.append(chunk, static_cast<size_t>(n));
    }
}

void Process::Stop()
{
    if (pid_ <= 0 || Poll()) return;
    ::kill(pid_, SIGTERM);
    if (!WaitFor(3000)) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        exit_ = -1;
    }
}

std::optional<std::string> Process::Output(const std::vector<std::string>& args, int limitMs,
                                           const std::map<std::string, std::string>& environment)
{
    Process process(args, environment);
    std::string text;
    while (std::optional<std::string> line = process.ReadLine(limitMs)) text += *line + "\n";
    if (!process.WaitFor(limitMs) || *process.Poll() != 0) return std::nullopt;
    return text;
}
