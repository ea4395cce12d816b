#pragma once

#include <string>
#include <string_view>

namespace Utils {

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
