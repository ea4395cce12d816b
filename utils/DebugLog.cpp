#include "utils/DebugLog.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <new>
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

namespace {

// Appends printf output measured first, so nothing is ever cut.
bool AppendFormatted(std::string& out, const char* format, va_list args) {
    va_list counting;
    va_copy(counting, args);
    const int length = std::vsnprintf(nullptr, 0, format, counting);
    va_end(counting);
    if (length < 0) return false;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data() + at, static_cast<std::size_t>(length) + 1, format, args);
    out.pop_back();
    return true;
}

bool AppendFormatted(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
bool AppendFormatted(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool ok = AppendFormatted(out, format, args);
    va_end(args);
    return ok;
}

}  // namespace

DebugRecordStamp CurrentDebugRecordStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    DebugRecordStamp stamp;
    stamp.milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    localtime_r(&seconds, &stamp.localTime);
    stamp.processId = static_cast<long>(::getpid());
    stamp.threadId = static_cast<long>(::gettid());
    return stamp;
}

std::string FormatDebugRecordV(const DebugRecordStamp& stamp, const char* function, int line, const char* format,
                               va_list args) {
    const std::tm& t = stamp.localTime;
    std::string record;
    try {
        if (!AppendFormatted(record, "<P%05ld><T%05ld><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ",
                             stamp.processId, stamp.threadId, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                             t.tm_min, t.tm_sec, stamp.milliseconds, function ? function : "", line) ||
            !AppendFormatted(record, format ? format : "", args))
            return "";
        record += "\r\n";
    } catch (const std::bad_alloc&) {
        return "";
    }
    return record;
}

std::string FormatDebugRecord(const DebugRecordStamp& stamp, const char* function, int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string record = FormatDebugRecordV(stamp, function, line, format, args);
    va_end(args);
    return record;
}

void DebugLog(const char* function, int line, const char* format, ...) {
    const int savedErrno = errno;
    const DebugRecordStamp stamp = CurrentDebugRecordStamp();
    va_list args;
    va_start(args, format);
    const std::string record = FormatDebugRecordV(stamp, function, line, format, args);
    va_end(args);
    // One write per record keeps records from different threads apart.
    if (!record.empty()) {
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, record.data(), record.size());
    }
    errno = savedErrno;
}

}  // namespace Utils
