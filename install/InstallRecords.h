#pragma once

#include <string>

// What the installer records about an installation and reads back on the next
// run: the product's key in the registry store, "set.ini" in the installation
// folder and the analytics ini. Everything here runs on the UI thread.
namespace InstallRecords {

inline constexpr const char* kProductKey = "Software\\TekdorSoft\\nuvaloPDFconverter";

// The installation a previous run recorded; both "" when there is none.
struct OldInstallRecord {
    std::string oldInstallPath;
    std::string oldUninstallerPath;
};

// Passed to the package as "-adminact" and "-authorizationact".
struct RightsFlags {
    bool adminAct = false;
    bool authorizationAct = false;
};

// Value name and text under the product's key of the current user's store.
bool WriteSetting(const std::string& name, const std::string& text);
// Leaves text unchanged when the value cannot be read.
bool ReadSetting(const std::string& name, std::string& text);

void ReadInstallRecord(OldInstallRecord& record);

// Probes the rights flags into rights and proposes a folder from them.
std::string GetDefaultInstallFolder(const OldInstallRecord& record, RightsFlags& rights);
// The old installation's folder while its uninstaller exists, else a fresh
// folder: the user's data folder when both flags are set, program files
// otherwise. "" when the folder would be longer than a path may be.
std::string ProposeInstallFolder(const OldInstallRecord& record, const RightsFlags& rights);

// The vendor's data folder (its drive needs free space too).
std::string GetVendorDataFolder();
// The folder the usage-analytics ini lives in; "" without a data folder.
std::string GetAnalyticsFolder();

// True when the relative path from one folder to the other is "." (compared
// as written, after removing "." and ".." steps and trailing slashes).
bool IsSameFolder(const std::string& a, const std::string& b);

// True when folder is the old installation's folder and its "set.ini" says
// IsOverride=false, so the old installation must not be uninstalled first.
bool IsOverrideDisabled(const OldInstallRecord& record, const std::string& folder);

// "set.ini" in the installation folder (with a new DeviceID each time) and the
// analytics ini's update time.
void WriteIniRecords(const std::string& installFolder);
// "InstallPath", and "UnInstallEp" when that file exists. An empty
// uninstallEntry (the package reported none) becomes folder + "/uninst.ep".
void WriteRegistryRecords(const std::string& installFolder, std::string& uninstallEntry);

}  // namespace InstallRecords
