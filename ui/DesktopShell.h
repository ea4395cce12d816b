#pragma once

#include "platform/WindowSystem.h"

#include <optional>
#include <string>
#include <vector>

// The desktop's "open" and folder picker. Pages and documents go to
// xdg-open; an executable file is started directly (an installed product is
// a program, not a document). Both run detached from the installer.
class DesktopShell {
public:
    // Starts target from workFolder ("" = the installer's own); false when
    // nothing could be started.
    static bool Open(const std::string& target, const std::string& workFolder);
    // An installed picker (zenity, else kdialog) over owner, which keeps
    // handling its messages meanwhile; nothing when cancelled, when no picker
    // is installed or when owner is gone.
    static std::optional<std::string> PickFolder(Platform::WindowId owner, const std::string& title);
    // The first of the programs found on PATH, or "".
    static std::string FindProgram(const std::vector<std::string>& names);
};
