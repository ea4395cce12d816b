#pragma once

#include <string>
#include <vector>

// The process-wide launch settings: built-in defaults, then the settings file beside the
// executable, then the command line. Filled at start-up, read everywhere afterwards.
class LaunchSettings
{
public:
    // Built-in defaults only; the version name decides the "${ROUTE}" substitution.
    explicit LaunchSettings(std::string osVersionName);

    // The record of this process: defaults plus the settings file next to the executable,
    // loaded on first use.
    static LaunchSettings& Instance();

    // Reads section "Install" of the given settings file; a missing file changes nothing.
    void LoadSettingsFile(const std::string& iniPath);
    // Applies -key=value options; args[0] is the program path like any other argument.
    void ApplyCommandLine(const std::vector<std::string>& args);
    void ApplyCommandLine(int argc, const char* const* argv);

    // Stores the address with every "${ROUTE}" replaced by the route of this system.
    void SetDownloadUrl(const std::string& url);

    // The address built in at compile time (NUVALO_DEFAULT_DOWNLOAD_URL).
    static std::string DefaultDownloadUrl();
    // One "Field=value" line per field, in table order.
    std::string FieldLines() const;

    std::string DownloadUrl;
    int DownloadType = 1;
    double DownloadScale = 0.7;
    bool IsCheckNet = false;
    bool IsEnableAppSensors = true;
    std::string DlAppNameSuffix = ".downloader";
    std::string DlAppVersion;
    std::string InstCmd;
    int LanguageIndex = -1;
    bool InsNew = false;

private:
    std::string m_osVersionName;
};
