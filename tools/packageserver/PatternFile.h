#pragma once

#include <cstdint>
#include <string>

// Writes size bytes of a reproducible pseudo-random pattern, so that tests and
// benchmarks get packages that do not compress and are cheap to make.
bool WritePatternFile(const std::string& path, int64_t size, uint32_t seed = 1);
