#pragma once

#include <string>

namespace Utils {

// True when the process runs with effective uid 0.
bool IsTokenAdmin();

// The user of the active session on seat0 (systemd-logind); false and "" when nobody
// is logged on there or the seat cannot be read.
bool GetConsoleUserName(std::string& name);
// Same, reading a given logind seat file.
bool GetConsoleUserNameFromSeatFile(const std::string& seatFile, std::string& name);

// True when the local account is root or belongs to group "sudo", "wheel" or "admin".
bool IsUserAdmin(const std::string& name);
// The user of the active session is an administrator; false when there is none.
bool IsConsoleUserAdmin();

}  // namespace Utils
