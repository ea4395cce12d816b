#include "DemoUninstaller.h"

#include "DemoFaults.h"
#include "DemoPackage.h"
#include "DemoReporter.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <sstream>
#include <unistd.h>

int DemoUninstaller::Run(const std::vector<std::string>& args) {
    const DemoFaults faults = DemoFaults::Load("Uninstaller", Platform::ExecutablePath());
    DemoReporter out(faults, DemoPackage::Switch(args, "-console") == "show");
    const std::string folder = DemoPackage::RestOfLine(args, "_?=");

    out.Begin();
    if (faults.Has("fail")) {
        out.Line("State=Fail");
        return 1;
    }

    std::string manifest;
    const std::string manifestPath = Platform::JoinPath(folder, DemoPackage::kManifestName);
    if (folder.empty() || !Platform::ReadWholeFile(manifestPath, manifest)) {
        out.Line("Error=找不到安装记录：" + manifestPath);
        return 1;
    }
    std::istringstream lines(manifest);
    for (std::string path; std::getline(lines, path);) {
        if (!path.empty() && std::remove(path.c_str()) != 0 && Platform::FileExists(path)) {
            out.Line("Error=无法删除：" + path);
            return 1;
        }
    }
    ::rmdir(folder.c_str());  // only when nothing of anyone else is left in it
    out.Progress(1.0);
    if (!faults.Has("nostate")) out.Line("State=Success");
    return 0;
}
