#pragma once

#include <string>

namespace Utils {

// "$TMPDIR/~TekdorTemp.92482B06FB471E17/" (TMPDIR defaults to /tmp), created when missing;
// "" when it cannot be made, is not a private folder of this user, or is longer than
// 259 characters.
std::string GetTempWorkFolder();
// Same for a given temporary folder, so callers and tests need not touch the environment.
std::string GetTempWorkFolderIn(const std::string& tempFolder);

// Creates every missing folder of path from the left; true when every folder of the path
// exists afterwards. Stops at the first folder it cannot create and keeps the ones before.
bool CreateDirectories(const std::string& path);

}  // namespace Utils
