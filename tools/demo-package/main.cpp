#include "DemoPackage.h"
#include "DemoUninstaller.h"

#include <csignal>
#include <string>
#include <vector>

namespace {

// The demo product stays running until it is asked to close, so the
// installer's running-product checks have something to find.
int RunProduct() {
    sigset_t closing;
    sigemptyset(&closing);
    sigaddset(&closing, SIGTERM);
    sigaddset(&closing, SIGINT);
    sigaddset(&closing, SIGHUP);
    sigprocmask(SIG_BLOCK, &closing, nullptr);
    int signal = 0;
    sigwait(&closing, &signal);
    return 0;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsUninstallerName(const std::string& name) {
    return name == DemoPackage::kUninstallerName || name.find("_un_") != std::string::npos ||
           name.find("uninstall") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const std::string name = args.empty() ? "" : BaseName(args[0]);
    if (name == DemoPackage::kProductName) return RunProduct();
    if (IsUninstallerName(name)) return DemoUninstaller::Run(args);
    return DemoPackage::Run(args);
}
