#pragma once

#include <cstddef>
#include <string>

namespace Platform {

// Files larger than this are treated as unreadable by ReadWholeFile, so a
// runaway settings or data file cannot exhaust memory.
inline constexpr std::size_t kMaxWholeFileBytes = 64u << 20;

bool ReadWholeFile(const std::string& path, std::string& contents);
// Writes a temporary file beside path, flushes it and renames it over path.
bool WriteFileAtomically(const std::string& path, const std::string& contents);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Full path of the running executable, or "".
std::string ExecutablePath();
// Everything before the last "/", or "" when there is none.
std::string ParentFolder(const std::string& path);
// a + "/" + b, without doubling a slash a already ends with.
std::string JoinPath(const std::string& a, const std::string& b);

}  // namespace Platform
