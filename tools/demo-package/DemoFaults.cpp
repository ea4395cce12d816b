#include "DemoFaults.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <cstdlib>
#include <string_view>

namespace {

std::size_t Number(const char* name, std::size_t fallback) {
    const std::string value = Platform::EnvironmentValue(name);
    if (value.empty()) return fallback;
    return static_cast<std::size_t>(std::strtoull(value.c_str(), nullptr, 10));
}

}  // namespace

DemoFaults DemoFaults::Load(const std::string& role, const std::string& programPath) {
    DemoFaults faults;
    faults.list_ = Platform::EnvironmentValue(role == "Package" ? "DEMO_PACKAGE_FAULT" : "DEMO_UNINSTALLER_FAULT");
    if (faults.list_.empty()) {
        const std::string beside = Platform::JoinPath(Platform::ParentFolder(programPath), "demo-fault.ini");
        faults.list_ = Platform::ReadIniString(beside, role, "Fault", "");
    }
    faults.garbageBytes = Number("DEMO_GARBAGE_BYTES", faults.garbageBytes);
    faults.stderrBytes = Number("DEMO_STDERR_BYTES", faults.stderrBytes);
    faults.stepMs = static_cast<unsigned>(Number("DEMO_STEP_MS", faults.stepMs));
    return faults;
}

bool DemoFaults::Has(const std::string& fault) const {
    std::string_view rest = list_;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        if (rest.substr(0, comma) == fault) return true;
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return false;
}
