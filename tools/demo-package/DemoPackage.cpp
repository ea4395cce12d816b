#include "DemoPackage.h"

#include "DemoFaults.h"
#include "DemoReporter.h"
#include "platform/CommandLine.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace {

std::string DesktopFolder() {
    const std::string desktop = Platform::EnvironmentValue("XDG_DESKTOP_DIR");
    if (!desktop.empty()) return desktop;
    const std::string home = Platform::EnvironmentValue("HOME");
    return home.empty() ? "" : home + "/Desktop";
}

std::string MenuFolder() {
    const std::string data = Platform::EnvironmentValue("XDG_DATA_HOME");
    if (!data.empty()) return data + "/applications";
    const std::string home = Platform::EnvironmentValue("HOME");
    return home.empty() ? "" : home + "/.local/share/applications";
}

std::string DefaultInstallFolder() {
    const std::string home = Platform::EnvironmentValue("HOME");
    return (home.empty() ? std::string("/tmp") : home + "/.local/opt") + "/NuvaloPDF";
}

// Exec= needs its own quoting: double quotes, with " ` $ and \ escaped.
std::string DesktopExec(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

class Installation {
public:
    explicit Installation(std::string folder) : folder_(std::move(folder)) {}

    bool CopySelfAs(const std::string& name, std::string& path) {
        std::string image;
        path = Platform::JoinPath(folder_, name);
        if (!Platform::ReadWholeFile(Platform::ExecutablePath(), image) ||
            !Platform::WriteFileAtomically(path, image) || ::chmod(path.c_str(), 0755) != 0) {
            return false;
        }
        created_ += path + "\n";
        return true;
    }

    bool WriteConfig(const std::string& language) {
        const std::string path = Platform::JoinPath(folder_, "config.ini");
        if (!Platform::WriteIniString(path, "Install", "Language", language)) return false;
        created_ += path + "\n";
        return true;
    }

    // A missing desktop or menu folder is no failure: there is simply no entry.
    void AddEntry(const std::string& folder, const std::string& productPath) {
        std::error_code error;
        if (folder.empty()) return;
        std::filesystem::create_directories(folder, error);
        if (error) return;
        const std::string path = Platform::JoinPath(folder, "nuvalo-pdfconvert.desktop");
        const std::string entry = "[Desktop Entry]\nType=Application\nName=NuvaloPDF转换器\nExec=" +
                                  DesktopExec(productPath) + "\nTerminal=false\n";
        if (Platform::WriteFileAtomically(path, entry)) created_ += path + "\n";
    }

    bool WriteManifest() {
        const std::string path = Platform::JoinPath(folder_, DemoPackage::kManifestName);
        return Platform::WriteFileAtomically(path, created_ + path + "\n");
    }

private:
    std::string folder_;
    std::string created_;
};

}  // namespace

std::string DemoPackage::RestOfLine(const std::vector<std::string>& args, const std::string& key) {
    const char* whole = std::getenv(Platform::kCommandLineVariable);
    if (whole) return RestOfLine(whole, key);
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind(key, 0) != 0) continue;
        std::string rest = args[i].substr(key.size());
        for (std::size_t j = i + 1; j < args.size(); ++j) rest += " " + args[j];
        return rest;
    }
    return "";
}

std::string DemoPackage::RestOfLine(std::string_view commandLine, const std::string& key) {
    const std::string_view args = Platform::ArgumentsAfterProgram(commandLine);
    bool quoted = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool atArgumentStart = i == 0 || args[i - 1] == ' ' || args[i - 1] == '\t';
        if (!quoted && atArgumentStart && args.substr(i, key.size()) == key) return std::string(args.substr(i + key.size()));
        if (args[i] == '"') quoted = !quoted;
    }
    return "";
}

std::string DemoPackage::Switch(const std::vector<std::string>& args, const std::string& key) {
    const std::string prefix = key + "=";
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i].rfind(prefix, 0) == 0) return args[i].substr(prefix.size());
    }
    return "";
}

int DemoPackage::Run(const std::vector<std::string>& args) {
    const DemoFaults faults = DemoFaults::Load("Package", Platform::ExecutablePath());
    DemoReporter out(faults, Switch(args, "-console") == "show");
    std::string folder = RestOfLine(args, "/D=");
    if (folder.empty()) folder = DefaultInstallFolder();

    out.Begin();
    if (faults.Has("longlines")) out.Line("Message=" + std::string(5000, 'L'));
    if (faults.Has("fail")) {
        out.Line("State=Fail");
        return 1;
    }
    if (faults.Has("error")) {
        out.Line("Error=演示安装包无法写入安装目录");
        return 1;
    }

    std::error_code error;
    std::filesystem::create_directories(folder, error);
    Installation installation(folder);
    std::string productPath;
    std::string uninstallerPath;
    if (!Platform::DirectoryExists(folder) || !installation.CopySelfAs(kProductName, productPath) ||
        !installation.CopySelfAs(kUninstallerName, uninstallerPath) ||
        !installation.WriteConfig(Switch(args, "-inslang"))) {
        out.Line("Error=无法写入安装目录");
        return 1;
    }
    out.Progress(0.40);
    if (Switch(args, "-dsc") == "true") installation.AddEntry(DesktopFolder(), productPath);
    if (Switch(args, "-ssc") == "true") installation.AddEntry(MenuFolder(), productPath);
    if (!installation.WriteManifest()) {
        out.Line("Error=无法写入安装记录");
        return 1;
    }
    out.Progress(0.80);
    out.Line("InstPath=" + folder);
    out.Line("ExePath=" + productPath);
    out.Line("UninstEp=" + uninstallerPath);
    out.Line("StartupStyle=UserStartup");
    out.Progress(1.0);
    if (!faults.Has("nostate")) out.Line("State=Success");
    return 0;
}
