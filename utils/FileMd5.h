#pragma once

#include <string>

namespace Utils {

// MD5 digest of a file as 32 lower-case hex characters; "" for an empty path
// or a file that cannot be opened for reading.
std::string FileMd5(const std::string& path);

}  // namespace Utils
