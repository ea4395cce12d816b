#include "platform/Environment.h"

#include <cstdlib>

namespace Platform {

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace Platform
