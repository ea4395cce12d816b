#include "app/LaunchSettings.h"

#include <cstdio>
#include <cstring>

// Interim entry point until the installer window exists.
int main(int argc, char** argv) {
    LaunchSettings& settings = LaunchSettings::Instance();
    settings.ApplyCommandLine(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print-settings") == 0) {
            std::fputs(settings.FieldLines().c_str(), stdout);
            return 0;
        }
    }
    std::fputs("nuvalo-installer: the installer window is not available yet; try --print-settings\n", stderr);
    return 1;
}
