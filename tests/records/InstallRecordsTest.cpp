#include "install/InstallRecords.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "tests/records/TempUserFolders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace InstallRecords;

class InstallRecordsTest : public ::testing::Test {
protected:
    std::string MakeFolder(const std::string& relative) const {
        const std::string folder = folders.Path(relative);
        std::filesystem::create_directories(folder);
        return folder;
    }
    static void Touch(const std::string& path) { ASSERT_TRUE(Platform::WriteFileAtomically(path, "x")); }
    std::string DataHome() const { return folders.Path("home/.local/share"); }
    std::string ProgramFiles() const { return ::geteuid() == 0 ? "/opt" : folders.Path("home/.local/opt"); }

    TempUserFolders folders;
};

TEST_F(InstallRecordsTest, SettingsRoundTripUnderTheProductKey) {
    std::string text = "unchanged";
    EXPECT_FALSE(ReadSetting("InstallPath", text));
    EXPECT_EQ(text, "unchanged");
    ASSERT_TRUE(WriteSetting("InstallPath", "/opt/产品 dir"));
    ASSERT_TRUE(ReadSetting("InstallPath", text));
    EXPECT_EQ(text, "/opt/产品 dir");
    EXPECT_EQ(Platform::Registry().ReadString("Software\\TekdorSoft\\nuvaloPDFconverter", "InstallPath"),
              "/opt/产品 dir");
}

TEST_F(InstallRecordsTest, ReadInstallRecordFromWhatTheStoreHolds) {
    struct Case {
        const char* what;
        std::optional<std::string> installPath, uninstallEp;
        OldInstallRecord expected;
    };
    const std::vector<Case> cases = {
        {"no key", std::nullopt, std::nullopt, {"", ""}},
        {"install path only", "/opt/old", std::nullopt, {"/opt/old", "/opt/old/uninst.ep"}},
        {"empty uninstaller", "/opt/old", "", {"/opt/old", "/opt/old/uninst.ep"}},
        {"both", "/opt/old", "/elsewhere/uninst.ep", {"/opt/old", "/elsewhere/uninst.ep"}},
        {"uninstaller only", std::nullopt, "/elsewhere/uninst.ep", {"", "/elsewhere/uninst.ep"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Platform::Registry::UserStorePath());
        if (c.installPath) {
            ASSERT_TRUE(WriteSetting("InstallPath", *c.installPath));
        }
        if (c.uninstallEp) {
            ASSERT_TRUE(WriteSetting("UnInstallEp", *c.uninstallEp));
        }
        OldInstallRecord record{"stale", "stale"};
        ReadInstallRecord(record);
        EXPECT_EQ(record.oldInstallPath, c.expected.oldInstallPath);
        EXPECT_EQ(record.oldUninstallerPath, c.expected.oldUninstallerPath);
    }
}

TEST_F(InstallRecordsTest, ProposedFolderKeepsAUsableInstallationElseFollowsTheRights) {
    const std::string old = MakeFolder("old install");
    const std::string fresh = ProgramFiles() + "/nuvaloPDFconverter";
    const std::string dataFolder = DataHome() + "/tekdor/nuvaloPDFconverter";
    struct Case {
        const char* what;
        OldInstallRecord record;
        bool uninstallerExists, adminAct, authorizationAct;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no key, both rights", {"", ""}, false, true, true, dataFolder},
        {"no key, console user only", {"", ""}, false, true, false, fresh},
        {"no key, token only", {"", ""}, false, false, true, fresh},
        {"no key, no rights", {"", ""}, false, false, false, fresh},
        {"uninstaller missing", {old, old + "/uninst.ep"}, false, true, true, dataFolder},
        {"uninstaller present", {old, old + "/uninst.ep"}, true, false, false, old},
        {"uninstaller without install path", {"", old + "/uninst.ep"}, true, false, false, fresh},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(old + "/uninst.ep");
        if (c.uninstallerExists) Touch(old + "/uninst.ep");
        EXPECT_EQ(ProposeInstallFolder(c.record, {c.adminAct, c.authorizationAct}), c.expected);
    }
}

TEST_F(InstallRecordsTest, WithoutAUsableDataFolderBothRightsGoToProgramFiles) {
    const std::string fresh = ProgramFiles() + "/nuvaloPDFconverter";
    folders.Set("XDG_DATA_HOME", "/" + std::string(300, 'd'));
    EXPECT_EQ(ProposeInstallFolder({}, {true, true}), fresh);
    EXPECT_EQ(GetVendorDataFolder(), ProgramFiles());
    folders.Unset("XDG_DATA_HOME");
    folders.Unset("HOME");
    EXPECT_EQ(ProposeInstallFolder({}, {true, true}), "/opt/nuvaloPDFconverter");
    EXPECT_EQ(GetVendorDataFolder(), "/opt");
    EXPECT_EQ(GetAnalyticsFolder(), "");
}

TEST_F(InstallRecordsTest, DefaultFolderProbesTheRights) {
    RightsFlags rights{false, !(::geteuid() == 0)};
    GetDefaultInstallFolder({}, rights);
    EXPECT_EQ(rights.authorizationAct, ::geteuid() == 0);
}

TEST_F(InstallRecordsTest, DataFolders) {
    EXPECT_EQ(GetVendorDataFolder(), DataHome() + "/tekdor");
    EXPECT_EQ(GetAnalyticsFolder(), DataHome() + "/TekdorData/nuvaloPDFconverter");
    folders.Unset("XDG_DATA_HOME");
    EXPECT_EQ(GetVendorDataFolder(), folders.Path("home/.local/share/tekdor"));
}

TEST(IsSameFolderTest, FoldersCompareAsWrittenWithoutDotStepsAndTrailingSlashes) {
    struct Case {
        std::string a, b;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"/opt/app", "/opt/app", true},      {"/opt/app", "/opt/app/", true},
        {"/opt/app", "/opt/./x/../app", true}, {"/opt/app", "/opt/App", false},
        {"/opt/app", "/opt/app/sub", false},  {"/opt/app", "/opt", false},
        {"", "", false},                      {"/", "/", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(IsSameFolder(c.a, c.b), c.expected);
        EXPECT_EQ(IsSameFolder(c.b, c.a), c.expected);
    }
}

TEST_F(InstallRecordsTest, OverrideIsDisabledOnlyForTheOldFolderSayingFalse) {
    const std::string old = MakeFolder("old");
    const std::string other = MakeFolder("other");
    struct Case {
        const char* what;
        std::string oldInstallPath, folder;
        std::optional<std::string> isOverride;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"old folder, false", old, old, "false", true},
        {"old folder written differently", old, old + "/./", "false", true},
        {"quoted false", old, old, "\"false\"", true},
        {"old folder, true", old, old, "true", false},
        {"old folder, FALSE", old, old, "FALSE", false},
        {"old folder, no value", old, old, std::nullopt, false},
        {"another folder, false", old, other, "false", false},
        {"subfolder", old, old + "/sub", "false", false},
        {"no old installation", "", old, "false", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::create_directories(c.folder);
        const std::string setIni = c.folder + "/set.ini";
        std::filesystem::remove(setIni);
        if (c.isOverride) {
            ASSERT_TRUE(Platform::WriteIniString(setIni, "Uninstall", "IsOverride", *c.isOverride));
        }
        EXPECT_EQ(IsOverrideDisabled({c.oldInstallPath, c.oldInstallPath + "/uninst.ep"}, c.folder), c.expected);
    }
}

TEST_F(InstallRecordsTest, IniRecordsAreWrittenInOrderWithAFreshDeviceIdEachTime) {
    const std::string folder = MakeFolder("install dir");
    const std::string setIni = folder + "/set.ini";
    ASSERT_TRUE(Platform::WriteIniString(setIni, "Uninstall", "IsOverride", "false"));

    WriteIniRecords(folder);
    const Platform::IniFile first = Platform::IniFile::Load(setIni);
    EXPECT_THAT(first.Keys("Install"),
                ::testing::ElementsAre("APPStore", "AppName", "DeviceID", "ZIDodezizAvozuvazeIni"));
    EXPECT_EQ(first.Get("Install", "APPStore"), "records_tests");
    EXPECT_EQ(first.Get("Install", "AppName"), "nuvaloPDFconverter");
    const std::string analyticsIni = DataHome() + "/TekdorData/nuvaloPDFconverter/ZIDodezizAvozuvaze.ini";
    EXPECT_EQ(first.Get("Install", "ZIDodezizAvozuvazeIni"), analyticsIni);
    EXPECT_EQ(first.Get("Uninstall", "IsOverride"), "false");
    EXPECT_THAT(Platform::IniFile::Load(analyticsIni).Get("Init", "UpdateTime").value_or(""),
                ::testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}"));

    WriteIniRecords(folder);
    const auto firstId = first.Get("Install", "DeviceID");
    const auto secondId = Platform::IniFile::Load(setIni).Get("Install", "DeviceID");
    ASSERT_TRUE(firstId && secondId);
    EXPECT_EQ(firstId->size(), 32u);
    EXPECT_NE(*firstId, *secondId);
}

TEST_F(InstallRecordsTest, AnalyticsFolderThatCannotBeMadeLeavesItsRecordsOut) {
    const std::string folder = MakeFolder("install");
    const std::string blocker = folders.Path("not-a-folder");
    Touch(blocker);
    folders.Set("XDG_DATA_HOME", blocker);
    WriteIniRecords(folder);
    const Platform::IniFile settings = Platform::IniFile::Load(folder + "/set.ini");
    EXPECT_THAT(settings.Keys("Install"), ::testing::ElementsAre("APPStore", "AppName", "DeviceID"));
}

TEST_F(InstallRecordsTest, SetIniThatCannotBeReadIsLeftAsItIs) {
    const std::string folder = MakeFolder("install");
    const std::string setIni = folder + "/set.ini";
    Touch(setIni);
    std::filesystem::resize_file(setIni, Platform::kMaxWholeFileBytes + 1);
    WriteIniRecords(folder);
    EXPECT_EQ(std::filesystem::file_size(setIni), Platform::kMaxWholeFileBytes + 1);
}

TEST_F(InstallRecordsTest, RegistryRecordsFallBackToUninstEpInTheFolder) {
    const std::string folder = MakeFolder("installed");
    struct Case {
        const char* what;
        std::string reported;
        bool folderEntryExists;
        std::string expectedEntry;
        std::optional<std::string> expectedStored;
    };
    const std::string reported = folders.Path("reported-uninst.ep");
    Touch(reported);
    const std::vector<Case> cases = {
        {"no UninstEp, file exists", "", true, folder + "/uninst.ep", folder + "/uninst.ep"},
        {"no UninstEp, no file", "", false, folder + "/uninst.ep", std::nullopt},
        {"reported and present", reported, false, reported, reported},
        {"reported but missing", folders.Path("gone.ep"), true, folders.Path("gone.ep"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Platform::Registry::UserStorePath());
        std::filesystem::remove(folder + "/uninst.ep");
        if (c.folderEntryExists) Touch(folder + "/uninst.ep");
        std::string entry = c.reported;
        WriteRegistryRecords(folder, entry);
        EXPECT_EQ(entry, c.expectedEntry);
        std::string installPath;
        EXPECT_TRUE(ReadSetting("InstallPath", installPath));
        EXPECT_EQ(installPath, folder);
        std::string stored;
        const bool hasEntry = ReadSetting("UnInstallEp", stored);
        EXPECT_EQ(hasEntry ? std::optional<std::string>(stored) : std::nullopt, c.expectedStored);
    }
}

}  // namespace
