#pragma once

#include <cstdarg>
#include <ctime>
#include <string>
#include <string_view>

namespace Utils {

// Who writes a record and when: read once when the logging statement begins.
struct DebugRecordStamp {
    long processId = 0;
    long threadId = 0;
    std::tm localTime{};
    int milliseconds = 0;
};

DebugRecordStamp CurrentDebugRecordStamp();

// The whole record, prefix to "\r\n"; "" when the message cannot be formatted.
std::string FormatDebugRecord(const DebugRecordStamp& stamp, const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
std::string FormatDebugRecordV(const DebugRecordStamp& stamp, const char* function, int line, const char* format,
                               va_list args);

// Writes one diagnostic record to standard error in a single write:
// "<P%05d><T%05d><YYYY-MM-DD hh:mm:ss.mmm>(function)<%04d>: " + message + "\r\n".
// The message format is printf-style and part of the one format pass, so a
// literal percent sign is written "%%". Never throws; a record that cannot be
// formatted is dropped.
void DebugLog(const char* function, int line, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The qualified function name ("Utils::Thread::CallBack") out of the
// compiler's pretty function signature ("static void Utils::Thread::CallBack(void*)").
std::string QualifiedFunctionName(std::string_view prettyFunction);

}  // namespace Utils

#define DEBUG_LOG(...) ::Utils::DebugLog(::Utils::QualifiedFunctionName(__PRETTY_FUNCTION__).c_str(), __LINE__, __VA_ARGS__)
