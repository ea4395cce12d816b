#include "utils/DebugLog.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>

namespace Utils {

std::string QualifiedFunctionName(std::string_view pretty) {
    // GCC spells "static void* Utils::Thread::CallBack(void*)",
    // "static T A::g(T) [with T = int]" or "A::f()::<lambda(int)>".
    if (const std::size_t with = pretty.find(" [with "); with != std::string_view::npos) pretty = pretty.substr(0, with);
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (std::string_view qualifier : {" const", " volatile", " &&", " &", " noexcept"}) {
            if (pretty.ends_with(qualifier)) {
                pretty.remove_suffix(qualifier.size());
                trimmed = true;
            }
        }
    }
    if (pretty.ends_with(')')) {
        int depth = 0;
        for (std::size_t i = pretty.size(); i-- > 0;) {
            if (pretty[i] == ')') ++depth;
            else if (pretty[i] == '(' && --depth == 0) {
                pretty = pretty.substr(0, i);
                break;
            }
        }
    }
    int depth = 0;
    for (std::size_t i = pretty.size(); i-- > 0;) {
        const char c = pretty[i];
        if (c == '>' || c == ')') ++depth;
        else if ((c == '<' || c == '(') && depth > 0) --depth;
        else if (c == ' ' && depth == 0) return std::string(pretty.substr(i + 1));
    }
    return std::string(pretty);
}

void DebugLog(const char* function, int line, const char* format, ...) {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const int millis = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);

    const int savedErrno = errno;
    char prefix[512];
    const int prefixLen = std::snprintf(prefix, sizeof prefix, "<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ",
                                        static_cast<int>(::getpid()), static_cast<int>(::gettid()), local.tm_year + 1900,
                                        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis,
                                        function ? function : "", line);
    if (prefixLen < 0) return;

    va_list args;
    va_start(args, format);
    va_list counting;
    va_copy(counting, args);
    const int messageLen = std::vsnprintf(nullptr, 0, format, counting);
    va_end(counting);
    if (messageLen < 0) {
        va_end(args);
        return;
    }
    // The prefix may have been cut by the fixed buffer when the function name is very long.
    const std::size_t headLen = std::min<std::size_t>(static_cast<std::size_t>(prefixLen), sizeof prefix - 1);
    const std::size_t total = headLen + static_cast<std::size_t>(messageLen) + 2;
    std::unique_ptr<char[]> record(new (std::nothrow) char[total + 1]);
    if (!record) {
        va_end(args);
        return;
    }
    std::copy(prefix, prefix + headLen, record.get());
    std::vsnprintf(record.get() + headLen, static_cast<std::size_t>(messageLen) + 1, format, args);
    va_end(args);
    record[total - 2] = '\r';
    record[total - 1] = '\n';

    // One write per record keeps records from different threads apart.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, record.get(), total);
    errno = savedErrno;
}

}  // namespace Utils
