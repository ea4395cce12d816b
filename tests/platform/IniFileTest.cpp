#include "platform/FileSystem.h"
#include "platform/IniFile.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using Platform::IniFile;

std::string ReadBack(const std::string& path) {
    std::string text;
    Platform::ReadWholeFile(path, text);
    return text;
}

TEST(IniFile, RoundTripsThroughTheFile) {
    TempFolder folder;
    const std::string path = folder / "settings.ini";
    ASSERT_TRUE(Platform::WriteIniString(path, "Install", "InstallPath", "/opt/中文 dir"));
    ASSERT_TRUE(Platform::WriteIniString(path, "Install", "Language", "2"));
    ASSERT_TRUE(Platform::WriteIniString(path, "Other", "Language", "5"));
    ASSERT_TRUE(Platform::WriteIniString(path, "Install", "Language", "3"));
    EXPECT_EQ(Platform::ReadIniString(path, "Install", "InstallPath", "-"), "/opt/中文 dir");
    EXPECT_EQ(Platform::ReadIniInt(path, "Install", "Language", -1), 3);
    EXPECT_EQ(Platform::ReadIniInt(path, "Other", "Language", -1), 5);
    EXPECT_EQ(ReadBack(path), "[Install]\nInstallPath=/opt/中文 dir\nLanguage=3\n[Other]\nLanguage=5\n");
}

TEST(IniFile, NamesIgnoreCaseValuesAreTrimmedAndUnquoted) {
    TempFolder folder;
    const std::string path = folder.Write("a.ini",
                                          "[ Install ]\n"
                                          "  DownloadUrl =  \"http://h/x\"  \n"
                                          "Single='quoted'\n"
                                          "Mismatched=\"open'\n"
                                          "Empty=\n"
                                          "Dup=first\nDup=second\n");
    const IniFile ini = IniFile::Load(path);
    EXPECT_EQ(ini.Get("INSTALL", "downloadurl"), "http://h/x");
    EXPECT_EQ(ini.Get("install", "Single"), "quoted");
    EXPECT_EQ(ini.Get("install", "Mismatched"), "\"open'");
    EXPECT_EQ(ini.Get("install", "Empty"), "");
    EXPECT_EQ(ini.Get("install", "Dup"), "first");
    EXPECT_EQ(ini.Get("install", "Missing"), std::nullopt);
    EXPECT_EQ(ini.Get("Missing", "Dup"), std::nullopt);
    EXPECT_EQ(ini.Sections(), std::vector<std::string>{"Install"});
    EXPECT_EQ(ini.Keys("install"), (std::vector<std::string>{"DownloadUrl", "Single", "Mismatched", "Empty", "Dup", "Dup"}));
}

TEST(IniFile, WriteKeepsCommentsUnknownLinesAndLineEnds) {
    TempFolder folder;
    const std::string original =
        "; written by hand\r\n[Install]\r\nnot a key line\r\nLanguage=1\r\n\r\n[Other]\r\n# note\r\nx=y\r\n";
    const std::string path = folder.Write("a.ini", original);
    ASSERT_TRUE(Platform::WriteIniString(path, "install", "LANGUAGE", "4"));
    ASSERT_TRUE(Platform::WriteIniString(path, "Install", "New", "v"));
    EXPECT_EQ(ReadBack(path),
              "; written by hand\r\n[Install]\r\nnot a key line\r\nLANGUAGE=4\r\nNew=v\r\n\r\n[Other]\r\n# note\r\nx=y\r\n");

    IniFile ini = IniFile::Load(path);
    EXPECT_TRUE(ini.Remove("other", "X"));
    EXPECT_FALSE(ini.Remove("other", "x"));
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(ReadBack(path).find("x=y"), std::string::npos);
    EXPECT_NE(ReadBack(path).find("# note\r\n"), std::string::npos);
}

TEST(IniFile, ByteOrderMarksAreUnderstoodAndKept) {
    TempFolder folder;
    const std::string utf8 = folder.Write("utf8.ini", "\xEF\xBB\xBF[Install]\nA=1\n");
    EXPECT_EQ(Platform::ReadIniString(utf8, "Install", "A", ""), "1");
    ASSERT_TRUE(Platform::WriteIniString(utf8, "Install", "B", "2"));
    EXPECT_EQ(ReadBack(utf8), "\xEF\xBB\xBF[Install]\nA=1\nB=2\n");

    const std::string utf16Text("\xFF\xFE[\0I\0]\0\r\0\n\0A\0=\0\x2D\x4E\r\0\n\0", 22);  // [I] A=中
    const std::string utf16 = folder.Write("utf16.ini", utf16Text);
    EXPECT_EQ(Platform::ReadIniString(utf16, "I", "A", ""), "中");
    ASSERT_TRUE(Platform::WriteIniString(utf16, "I", "A", "中"));
    EXPECT_EQ(ReadBack(utf16), utf16Text);
}

TEST(IniFile, RefusesWhatWouldBreakTheFileApart) {
    TempFolder folder;
    const std::string path = folder.Write("a.ini", "[Install]\nA=1\n");
    const std::string before = ReadBack(path);
    struct Case {
        std::string section, key, value;
    };
    const Case cases[] = {
        {"Install", "A", "1\n[Evil]"}, {"Install", "A", "1\r"},      {"Install", "A", std::string("1\0", 2)},
        {"Install", "A=B", "1"},       {"Install", "", "1"},        {"Install", "  ", "1"},
        {"In]stall", "A", "1"},        {"Install\n", "A", "1"},
    };
    for (const auto& c : cases) EXPECT_FALSE(Platform::WriteIniString(path, c.section, c.key, c.value)) << c.value;
    EXPECT_EQ(ReadBack(path), before);
}

TEST(IniFile, MissingOrUnreadableFileGivesTheDefaults) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "dir.ini");
    for (const std::string& path : {folder / "missing.ini", folder / "dir.ini", std::string()}) {
        EXPECT_EQ(Platform::ReadIniString(path, "Install", "A", "fallback"), "fallback");
        EXPECT_EQ(Platform::ReadIniInt(path, "Install", "A", 42), 42);
        EXPECT_TRUE(IniFile::Load(path).Sections().empty());
    }
}

TEST(IniFile, AnUnreadableFileIsNeverReplaced) {
    TempFolder folder;
    const std::string path = folder / "huge.ini";
    std::filesystem::resize_file(folder.Write("huge.ini", "[Install]\nA=1\n"), Platform::kMaxWholeFileBytes + 1);
    EXPECT_FALSE(Platform::WriteIniString(path, "Install", "B", "2"));
    EXPECT_EQ(std::filesystem::file_size(path), Platform::kMaxWholeFileBytes + 1);
}

TEST(IniFile, SaveNeverLeavesAHalfWrittenFile) {
    TempFolder folder;
    // The rename onto a folder fails: the folder stays and no temporary file is left behind.
    std::filesystem::create_directory(folder / "taken.ini");
    EXPECT_FALSE(Platform::WriteIniString(folder / "taken.ini", "Install", "A", "1"));
    EXPECT_FALSE(Platform::WriteIniString(folder / "missing/a.ini", "Install", "A", "1"));
    const std::string path = folder.Write("a.ini", "[Install]\nA=1\n");
    ASSERT_TRUE(Platform::WriteIniString(path, "Install", "A", "2"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.ini", "taken.ini"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "taken.ini"));
}

struct IntCase {
    const char* value;
    int expected;
};

TEST(IniFile, IntegerReads) {
    const IntCase cases[] = {
        {"42", 42},  {" -7x", -7}, {"+5", 5},   {"abc", 0}, {"", 0}, {"-", 0},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483648", 9},
        {"99999999999999999999999", 9},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.Write("n.ini", std::string("[S]\nN=") + c.value + "\n");
        EXPECT_EQ(Platform::ReadIniInt(path, "S", "N", 9), c.expected) << c.value;
    }
}

TEST(IniFile, StringReadsAreCutAt259Characters) {
    TempFolder folder;
    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "中";
    const std::string path = folder.Write("a.ini", "[S]\nA=" + std::string(300, 'a') + "\nB=" + chinese + "\n");
    EXPECT_EQ(Platform::ReadIniString(path, "S", "A", ""), std::string(259, 'a'));
    EXPECT_EQ(Platform::ReadIniString(path, "S", "B", ""), chinese.substr(0, 259 * 3));
    EXPECT_EQ(Platform::ReadIniString(path, "S", "C", std::string(300, 'c')), std::string(259, 'c'));
}

TEST(IniFile, GarbageNeverCrashes) {
    std::mt19937 random(11);
    std::string garbage(256 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 7 == 0 ? "[]=\n;\r"[random() % 6] : random());
    TempFolder folder;
    const std::string path = folder.Write("g.ini", garbage);
    const IniFile ini = IniFile::Load(path);
    for (const auto& section : ini.Sections())
        for (const auto& key : ini.Keys(section)) EXPECT_TRUE(ini.Get(section, key).has_value());
    EXPECT_TRUE(Platform::WriteIniString(path, "Install", "A", "1"));
    EXPECT_EQ(Platform::ReadIniString(path, "Install", "A", ""), "1");
}

}  // namespace
