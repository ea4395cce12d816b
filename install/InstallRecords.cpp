#include "install/InstallRecords.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/TextConversion.h"
#include "utils/Accounts.h"
#include "utils/DebugLog.h"
#include "utils/Directories.h"
#include "utils/Guid.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace InstallRecords {
namespace {

constexpr std::size_t kMaxPathChars = 260;
constexpr std::size_t kMaxOverrideChars = 19;
constexpr const char* kProductFolder = "nuvaloPDFconverter";

// The APPDATA of this platform: $XDG_DATA_HOME, else ~/.local/share; "" when
// neither can be read or the folder is too long to be a path.
std::string AppDataFolder() {
    std::string folder = Platform::EnvironmentValue("XDG_DATA_HOME");
    if (folder.empty() || folder.front() != '/') {
        const std::string home = Platform::EnvironmentValue("HOME");
        folder = home.empty() ? "" : Platform::JoinPath(home, ".local/share");
    }
    return Platform::Utf8Length(folder) > kMaxPathChars ? "" : folder;
}

// /opt for root, ~/.local/opt for everyone else (and /opt without a home).
std::string ProgramFilesFolder() {
    const std::string home = Platform::EnvironmentValue("HOME");
    if (Utils::IsTokenAdmin() || home.empty()) return "/opt";
    return Platform::JoinPath(home, ".local/opt");
}

std::string ExecutableFileName() {
    const std::string path = Platform::ExecutablePath();
    return path.substr(path.rfind('/') + 1);
}

std::string LocalTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

}  // namespace

bool WriteSetting(const std::string& name, const std::string& text) {
    return Platform::Registry().WriteString(kProductKey, name, text);
}

bool ReadSetting(const std::string& name, std::string& text) {
    const auto value = Platform::Registry().ReadString(kProductKey, name);
    if (!value) return false;
    text = *value;
    return true;
}

void ReadInstallRecord(OldInstallRecord& record) {
    record = OldInstallRecord{};
    ReadSetting("InstallPath", record.oldInstallPath);
    ReadSetting("UnInstallEp", record.oldUninstallerPath);
    if (record.oldUninstallerPath.empty() && !record.oldInstallPath.empty())
        record.oldUninstallerPath = Platform::JoinPath(record.oldInstallPath, "uninst.ep");
}

std::string GetDefaultInstallFolder(const OldInstallRecord& record, RightsFlags& rights) {
    rights.adminAct = Utils::IsConsoleUserAdmin();
    rights.authorizationAct = Utils::IsTokenAdmin();
    return ProposeInstallFolder(record, rights);
}

std::string ProposeInstallFolder(const OldInstallRecord& record, const RightsFlags& rights) {
    if (!record.oldInstallPath.empty() && Platform::FileExists(record.oldUninstallerPath))
        return record.oldInstallPath;
    const std::string appData = AppDataFolder();
    const std::string base = rights.adminAct && rights.authorizationAct && !appData.empty()
                                 ? Platform::JoinPath(appData, "tekdor")
                                 : ProgramFilesFolder();
    std::string folder = Platform::JoinPath(base, kProductFolder);
    return Platform::Utf8Length(folder) > kMaxPathChars ? "" : folder;
}

std::string GetVendorDataFolder() {
    const std::string appData = AppDataFolder();
    return appData.empty() ? ProgramFilesFolder() : Platform::JoinPath(appData, "tekdor");
}

std::string GetAnalyticsFolder() {
    const std::string appData = AppDataFolder();
    return appData.empty() ? "" : Platform::JoinPath(Platform::JoinPath(appData, "TekdorData"), kProductFolder);
}

bool IsSameFolder(const std::string& a, const std::string& b) {
    const auto normal = [](const std::string& folder) {
        std::string text = std::filesystem::path(folder).lexically_normal().string();
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        return text;
    };
    return !a.empty() && !b.empty() && normal(a) == normal(b);
}

bool IsOverrideDisabled(const OldInstallRecord& record, const std::string& folder) {
    if (!IsSameFolder(record.oldInstallPath, folder)) return false;
    const std::string setIni = Platform::JoinPath(folder, "set.ini");
    return Platform::ReadIniString(setIni, "Uninstall", "IsOverride", "true", kMaxOverrideChars) == "false";
}

void WriteIniRecords(const std::string& installFolder) {
    const std::string setIni = Platform::JoinPath(installFolder, "set.ini");
    // A set.ini that exists but cannot be read is left alone rather than replaced.
    std::optional<Platform::IniFile> settings = Platform::IniFile::LoadForUpdate(setIni);
    if (!settings) {
        DEBUG_LOG("set.ini not readable: %s", setIni.c_str());
        return;
    }
    settings->Set("Install", "APPStore", ExecutableFileName());
    settings->Set("Install", "AppName", kProductFolder);
    settings->Set("Install", "DeviceID", Utils::NewGuidString());
    const std::string analyticsFolder = GetAnalyticsFolder();
    const bool analytics = !analyticsFolder.empty() && Utils::CreateDirectories(analyticsFolder);
    const std::string analyticsIni = Platform::JoinPath(analyticsFolder, "ZIDodezizAvozuvaze.ini");
    if (analytics) settings->Set("Install", "ZIDodezizAvozuvazeIni", analyticsIni);
    if (!settings->Save(setIni)) DEBUG_LOG("set.ini not written: %s", setIni.c_str());
    if (analytics) Platform::WriteIniString(analyticsIni, "Init", "UpdateTime", LocalTimeText());
}

void WriteRegistryRecords(const std::string& installFolder, std::string& uninstallEntry) {
    WriteSetting("InstallPath", installFolder);
    if (uninstallEntry.empty()) uninstallEntry = Platform::JoinPath(installFolder, "uninst.ep");
    if (Platform::FileExists(uninstallEntry)) WriteSetting("UnInstallEp", uninstallEntry);
}

}  // namespace InstallRecords
