#pragma once

#include <string>
#include <string_view>
#include <vector>

// The demo installation package: understands the switches the installer
// passes, installs the demo product and reports on standard output.
class DemoPackage {
public:
    static constexpr const char* kProductName = "nuvalo-pdfconvert.exe";
    static constexpr const char* kUninstallerName = "uninst.ep";
    // Everything the package created, one absolute path a line.
    static constexpr const char* kManifestName = "uninst.lst";

    static int Run(const std::vector<std::string>& args);

    // The value of a switch that takes the rest of the command line, blanks
    // included ("/D=", "_?="); "" when absent.
    // The whole command line comes from the installer's NUVALO_COMMAND_LINE
    // when it is set, else from the arguments joined by single blanks.
    static std::string RestOfLine(const std::vector<std::string>& args, const std::string& key);
    static std::string RestOfLine(std::string_view commandLine, const std::string& key);
    // The value of "-key=value"; "" when absent.
    static std::string Switch(const std::vector<std::string>& args, const std::string& key);
};
