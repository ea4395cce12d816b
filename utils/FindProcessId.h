#pragma once

#include <cstdint>
#include <string>

namespace Utils {

// Id of a running process whose executable file name equals name (case-sensitive), or 0.
uint32_t FindProcessId(const std::string& name);

}  // namespace Utils
