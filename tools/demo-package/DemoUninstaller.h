#pragma once

#include <string>
#include <vector>

// The demo uninstaller: removes exactly what the demo package listed in its
// manifest, then the folder when nothing else is left in it.
class DemoUninstaller {
public:
    static int Run(const std::vector<std::string>& args);
};
