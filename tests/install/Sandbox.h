#pragma once

#include <string>

// A private folder for the whole test binary. HOME, the XDG folders, the
// desktop folder and TMPDIR point into it, so neither the tests nor the
// programs they start touch the real user's files.
class Sandbox {
public:
    static const std::string& Root();
    static std::string Desktop() { return Root() + "/home/Desktop"; }
    static std::string Menu() { return Root() + "/data/applications"; }
};
