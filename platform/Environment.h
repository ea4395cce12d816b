#pragma once

#include <string>

namespace Platform {

// The value of an environment variable, "" when it is not set.
std::string EnvironmentValue(const char* name);

}  // namespace Platform
