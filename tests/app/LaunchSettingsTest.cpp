#include "app/LaunchSettings.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

namespace {

constexpr const char* kLinuxVersion = "6.1.0-18-amd64";

LaunchSettings Defaults() { return LaunchSettings(kLinuxVersion); }

LaunchSettings FromArgs(const std::vector<std::string>& options) {
    LaunchSettings settings = Defaults();
    std::vector<std::string> args{"/opt/nuvalo/nuvalo-installer"};
    args.insert(args.end(), options.begin(), options.end());
    settings.ApplyCommandLine(args);
    return settings;
}

LaunchSettings FromFile(const std::string& contents) {
    TempFolder folder;
    LaunchSettings settings = Defaults();
    settings.LoadSettingsFile(folder.Write("TekdorInstallerConfig.ini", contents));
    return settings;
}

void ExpectDefaultsExceptIsCheckNet(const LaunchSettings& s) {
    EXPECT_EQ(s.DownloadUrl, LaunchSettings::DefaultDownloadUrl());
    EXPECT_EQ(s.DownloadType, 1);
    EXPECT_EQ(s.DownloadScale, 0.7);
    EXPECT_TRUE(s.IsEnableAppSensors);
    EXPECT_EQ(s.DlAppNameSuffix, ".downloader");
    EXPECT_EQ(s.DlAppVersion, "");
    EXPECT_EQ(s.InstCmd, "");
    EXPECT_EQ(s.LanguageIndex, -1);
    EXPECT_FALSE(s.InsNew);
}

TEST(LaunchSettingsDefaults, NoFileNoOptions) {
    const LaunchSettings s = FromArgs({});
    ExpectDefaultsExceptIsCheckNet(s);
    EXPECT_FALSE(s.IsCheckNet);
    EXPECT_EQ(LaunchSettings::DefaultDownloadUrl().find("http://"), 0u);
    EXPECT_TRUE(LaunchSettings::DefaultDownloadUrl().ends_with("/software/359"));
}

TEST(LaunchSettingsDefaults, MissingFileChangesNothing) {
    TempFolder folder;
    LaunchSettings s = Defaults();
    s.LoadSettingsFile(folder / "TekdorInstallerConfig.ini");
    ExpectDefaultsExceptIsCheckNet(s);
    EXPECT_FALSE(s.IsCheckNet);
}

TEST(LaunchSettingsFile, SectionHeaderAloneTurnsOnTheNetworkProbe) {
    const LaunchSettings s = FromFile("[Install]\n");
    ExpectDefaultsExceptIsCheckNet(s);
    EXPECT_TRUE(s.IsCheckNet);
}

TEST(LaunchSettingsFile, ReadsEveryKeyOfSectionInstall) {
    const LaunchSettings s = FromFile(
        "[Other]\nDownloadType=9\n"
        "[install]\n"
        "DownloadUrl=http://example.test/${ROUTE}/pkg\n"
        "downloadtype = 3\n"
        "IsCheckNet=false\n"
        "IsEnableAppSensors=True\n"
        "DlAppNameSuffix=.dl\n"
        "m_DlAppVersion=1.2.3\n"
        "DlAppVersion=ignored\n"
        "DownloadScale= 0.25xyz\n"
        "InstCmd=\"/D=/opt/x\"\n");
    EXPECT_EQ(s.DownloadUrl, "http://example.test/download_silent/pkg");
    EXPECT_EQ(s.DownloadType, 3);
    EXPECT_FALSE(s.IsCheckNet);
    EXPECT_FALSE(s.IsEnableAppSensors);  // only the exact text "true" counts
    EXPECT_EQ(s.DlAppNameSuffix, ".dl");
    EXPECT_EQ(s.DlAppVersion, "1.2.3");
    EXPECT_EQ(s.DownloadScale, 0.25);
    EXPECT_EQ(s.InstCmd, "/D=/opt/x");
    EXPECT_EQ(s.LanguageIndex, -1);
    EXPECT_FALSE(s.InsNew);
}

struct FileNumberCase {
    const char* lines;
    int downloadType;
    double downloadScale;
};

TEST(LaunchSettingsFile, NumbersFallBackOrKeepThePreviousValue) {
    const FileNumberCase cases[] = {
        {"DownloadType=abc\nDownloadScale=abc\n", 0, 0.0},
        {"DownloadType=-4x\nDownloadScale=-1.5e1x\n", -4, -15.0},
        {"DownloadType=99999999999\nDownloadScale=1e999\n", 1, 0.7},
        {"DownloadType=\nDownloadScale=\n", 0, 0.0},
    };
    for (const auto& c : cases) {
        const LaunchSettings s = FromFile(std::string("[Install]\n") + c.lines);
        EXPECT_EQ(s.DownloadType, c.downloadType) << c.lines;
        EXPECT_EQ(s.DownloadScale, c.downloadScale) << c.lines;
    }
}

TEST(LaunchSettingsFile, LongStringsAreCutAt259Characters) {
    const std::string longText(300, 'x');
    const std::string longChinese = [] {
        std::string text;
        for (int i = 0; i < 300; ++i) text += "中";
        return text;
    }();
    const LaunchSettings s = FromFile("[Install]\nInstCmd=" + longText + "\nDlAppNameSuffix=" + longChinese + "\n");
    EXPECT_EQ(s.InstCmd, longText.substr(0, 259));
    EXPECT_EQ(s.DlAppNameSuffix, longChinese.substr(0, 259 * 3));
}

TEST(LaunchSettingsFile, BadBytesGetNeutralValues) {
    const LaunchSettings s =
        FromFile(std::string("[Install]\nInstCmd=/a") + '\0' + "/b\nm_DlAppVersion=1\xFF\xFE\nDlAppNameSuffix=\xC3\n");
    EXPECT_EQ(s.InstCmd, "/a");
    EXPECT_EQ(s.DlAppVersion, "1\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(s.DlAppNameSuffix, "\xEF\xBF\xBD");
}

TEST(LaunchSettingsFile, BinaryGarbageNeverCrashes) {
    std::mt19937 random(7);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    for (const std::string& contents : {garbage, "[Install]\n" + garbage, "[Install]\nDownloadScale=" + garbage}) {
        const LaunchSettings s = FromFile(contents);
        EXPECT_LE(s.InstCmd.size(), 259u * 4);
        EXPECT_LE(s.DownloadUrl.size(), 259u * 4 + 64);
    }
}

TEST(LaunchSettingsFile, TenMegabyteFileIsRead) {
    std::string contents = "[Install]\n";
    const std::string filler = "; padding line that nobody reads\n";
    while (contents.size() < 10u * 1024 * 1024) contents += filler;
    contents += "DownloadType=3\n";
    EXPECT_EQ(FromFile(contents).DownloadType, 3);
}

struct OptionCase {
    std::vector<std::string> args;
    std::function<void(const LaunchSettings&)> check;
    const char* what;
};

TEST(LaunchSettingsCommandLine, ConvertsEveryOption) {
    const OptionCase cases[] = {
        {{"-downloadtype=3", "-downloadtype=2"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 3); }, "first wins"},
        {{"-downloadtype= \t-12abc"}, [](auto& s) { EXPECT_EQ(s.DownloadType, -12); }, "blanks, sign, tail"},
        {{"-downloadtype=+7"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 7); }, "plus sign"},
        {{"-downloadtype=+-7"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 0); }, "two signs"},
        {{"-downloadtype=x"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 0); }, "no number"},
        {{"-downloadtype=99999999999"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 1); }, "out of range keeps"},
        {{"-downloadscale=abc"}, [](auto& s) { EXPECT_TRUE(std::isnan(s.DownloadScale)); }, "scale abc"},
        {{"-downloadscale"}, [](auto& s) { EXPECT_TRUE(std::isnan(s.DownloadScale)); }, "scale without ="},
        {{"-downloadscale=0.5x"}, [](auto& s) { EXPECT_EQ(s.DownloadScale, 0.5); }, "scale 0.5x"},
        {{"-downloadscale=1e999"}, [](auto& s) { EXPECT_EQ(s.DownloadScale, 0.7); }, "scale out of range"},
        {{"-IsCheckNet=true"}, [](auto& s) { EXPECT_FALSE(s.IsCheckNet); }, "keys are case-sensitive"},
        {{"-ischecknet=TRUE"}, [](auto& s) { EXPECT_FALSE(s.IsCheckNet); }, "values are case-sensitive"},
        {{"-ischecknet=true"}, [](auto& s) { EXPECT_TRUE(s.IsCheckNet); }, "ischecknet"},
        {{"-isenableappsensors=1"}, [](auto& s) { EXPECT_FALSE(s.IsEnableAppSensors); }, "sensors off"},
        {{"-insnew"}, [](auto& s) { EXPECT_FALSE(s.InsNew); }, "insnew alone"},
        {{"-insnew=true"}, [](auto& s) { EXPECT_TRUE(s.InsNew); }, "insnew true"},
        {{"-instcmd=/X=1"}, [](auto& s) { EXPECT_EQ(s.InstCmd, "/X=1"); }, "value keeps later ="},
        {{"-dlappnamesuffix"}, [](auto& s) { EXPECT_EQ(s.DlAppNameSuffix, ""); }, "string without ="},
        {{"-dlappversion=2.0"}, [](auto& s) { EXPECT_EQ(s.DlAppVersion, "2.0"); }, "version"},
        {{"-language=2"}, [](auto& s) { EXPECT_EQ(s.LanguageIndex, 2); }, "language"},
        {{"-language="}, [](auto& s) { EXPECT_EQ(s.LanguageIndex, 0); }, "language empty"},
        {{"-downloadurl="}, [](auto& s) { EXPECT_EQ(s.DownloadUrl, ""); }, "empty address"},
        {{"/downloadtype=3", "downloadtype=3"}, [](auto& s) { EXPECT_EQ(s.DownloadType, 1); }, "not options"},
        {{std::string("-instcmd=/a") + '\0' + "b", "-dlappversion=\xFF"},
         [](auto& s) {
             EXPECT_EQ(s.InstCmd, "/a");
             EXPECT_EQ(s.DlAppVersion, "\xEF\xBF\xBD");
         },
         "NUL and invalid UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(FromArgs(c.args));
    }
}

TEST(LaunchSettingsCommandLine, ProgramPathIsAnArgumentLikeTheOthers) {
    LaunchSettings s = Defaults();
    s.ApplyCommandLine({"-downloadtype=4", "-downloadtype=5"});
    EXPECT_EQ(s.DownloadType, 4);
}

TEST(LaunchSettingsCommandLine, ArgvOverloadSkipsNullEntries) {
    const char* argv[] = {"nuvalo-installer", nullptr, "-downloadtype=2"};
    LaunchSettings s = Defaults();
    s.ApplyCommandLine(3, argv);
    EXPECT_EQ(s.DownloadType, 2);
    s.ApplyCommandLine(1, nullptr);
    EXPECT_EQ(s.DownloadType, 2);
}

TEST(LaunchSettingsCommandLine, OptionsBeatTheFileWhichBeatsTheDefaults) {
    TempFolder folder;
    LaunchSettings s = Defaults();
    s.LoadSettingsFile(folder.Write("TekdorInstallerConfig.ini", "[Install]\nDownloadType=2\nInstCmd=/fromfile\n"));
    s.ApplyCommandLine({"prog", "-downloadtype=3"});
    EXPECT_EQ(s.DownloadType, 3);
    EXPECT_EQ(s.InstCmd, "/fromfile");
    EXPECT_EQ(s.DlAppNameSuffix, ".downloader");
}

struct RouteCase {
    const char* versionName;
    const char* url;
    const char* stored;
};

TEST(LaunchSettingsRoute, ReplacesEveryPlaceholder) {
    const RouteCase cases[] = {
        {"XP", "http://h/${ROUTE}/pkg", "http://h/download_silent_xp/pkg"},
        {"XP", "http://h/${ROUTE}/${ROUTE}", "http://h/download_silent_xp/download_silent_xp"},
        {"XP-", "${ROUTE}${ROUTE}", "download_silent_xpdownload_silent_xp"},
        {"10", "http://h/${ROUTE}/pkg", "http://h/download_silent/pkg"},
        {kLinuxVersion, "http://h/${ROUTE}/a/${ROUTE}", "http://h/download_silent/a/download_silent"},
        {"XP", "http://h/${ROUTE/pkg", "http://h/${ROUTE/pkg"},
        {"XP", "http://h/pkg", "http://h/pkg"},
    };
    for (const auto& c : cases) {
        LaunchSettings s(c.versionName);
        s.SetDownloadUrl(c.url);
        EXPECT_EQ(s.DownloadUrl, c.stored) << c.versionName << " " << c.url;
    }
    LaunchSettings xp("XP");
    xp.ApplyCommandLine({"prog", "-downloadurl=http://h/${ROUTE}/pkg"});
    EXPECT_EQ(xp.DownloadUrl, "http://h/download_silent_xp/pkg");
}

TEST(LaunchSettingsText, OneLinePerField) {
    const LaunchSettings s = FromArgs({"-downloadscale=abc", "-insnew=true"});
    const std::string text = s.FieldLines();
    for (const char* line : {"DownloadType=1\n", "DownloadScale=nan\n", "IsCheckNet=false\n", "InsNew=true\n",
                             "LanguageIndex=-1\n", "DlAppNameSuffix=.downloader\n", "InstCmd=\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(FromArgs({}).FieldLines().find("DownloadScale=0.7\n") != std::string::npos, true);
}

// The installer reads the settings file beside its own executable.
TEST(LaunchSettingsProgram, PrintsSettingsFromTheFileBesideTheExecutable) {
    TempFolder folder;
    const std::string program = folder / "nuvalo-installer";
    std::filesystem::copy_file(NUVALO_INSTALLER_PATH, program);
    folder.Write("TekdorInstallerConfig.ini", "[Install]\nDownloadType=2\nInstCmd=/fromfile\n");
    FILE* pipe = ::popen(("'" + program + "' --print-settings -downloadtype=3 2>/dev/null").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_NE(output.find("DownloadType=3\n"), std::string::npos) << output;
    EXPECT_NE(output.find("InstCmd=/fromfile\n"), std::string::npos) << output;
    EXPECT_NE(output.find("IsCheckNet=true\n"), std::string::npos) << output;
}

}  // namespace
