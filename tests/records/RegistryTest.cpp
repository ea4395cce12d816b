#include "platform/Registry.h"

#include "platform/FileSystem.h"
#include "tests/records/TempUserFolders.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kKey = "Software\\TekdorSoft\\nuvaloPDFconverter";

class RegistryTest : public ::testing::Test {
protected:
    // Prepares the store's folder for tests that lay down a store file of their own.
    void MakeStoreFolder() const { std::filesystem::create_directories(Platform::ParentFolder(store.StorePath())); }

    TempUserFolders folders;
    Platform::Registry store{folders.Path("store/sub/registry.ini")};
};

TEST_F(RegistryTest, ValuesSurviveTheRoundTripExactly) {
    const std::vector<std::string> texts = {
        "/opt/nuvaloPDFconverter", "", "  blanks at both ends\t", "\"quoted\"", "'single'", "a=b;c[d]",
        "/tmp/文件夹 with spaces",
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(store.WriteString(kKey, "InstallPath", text));
        EXPECT_EQ(store.ReadString(kKey, "InstallPath"), text);
    }
}

TEST_F(RegistryTest, KeyPathsAndNamesIgnoreCase) {
    ASSERT_TRUE(store.WriteString(kKey, "InstallPath", "/a"));
    EXPECT_EQ(store.ReadString("software\\tekdorsoft\\NUVALOPDFCONVERTER", "installpath"), "/a");
    ASSERT_TRUE(store.WriteString("SOFTWARE\\TekdorSoft\\nuvaloPDFconverter", "INSTALLPATH", "/b"));
    EXPECT_EQ(store.ReadString(kKey, "InstallPath"), "/b");
}

TEST_F(RegistryTest, MissingStoreKeyOrValueReadsAsNothing) {
    EXPECT_EQ(store.ReadString(kKey, "InstallPath"), std::nullopt);
    ASSERT_TRUE(store.WriteString("Software\\Other", "InstallPath", "/x"));
    EXPECT_EQ(store.ReadString(kKey, "InstallPath"), std::nullopt);
    ASSERT_TRUE(store.WriteString(kKey, "UnInstallEp", "/y"));
    EXPECT_EQ(store.ReadString(kKey, "InstallPath"), std::nullopt);
    EXPECT_EQ(store.ReadString("Software\\Other", "InstallPath"), "/x");
}

TEST_F(RegistryTest, UnstorableInputIsRefusedAndChangesNothing) {
    ASSERT_TRUE(store.WriteString(kKey, "InstallPath", "/kept"));
    std::string before;
    ASSERT_TRUE(Platform::ReadWholeFile(store.StorePath(), before));
    struct Case {
        std::string keyPath, name, text;
    };
    const std::vector<Case> cases = {
        {kKey, "InstallPath", "line\nbreak"}, {kKey, "InstallPath", "carriage\rreturn"},
        {kKey, "InstallPath", std::string("nul\0byte", 8)}, {kKey, "", "/x"},
        {kKey, "a=b", "/x"}, {kKey, " padded", "/x"}, {kKey, ";comment", "/x"},
        {kKey, "[section]", "/x"}, {"", "InstallPath", "/x"}, {"Key]Bracket", "InstallPath", "/x"},
        {kKey, "Install\nPath", "/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyPath + " | " + c.name + " | " + c.text);
        EXPECT_FALSE(store.WriteString(c.keyPath, c.name, c.text));
    }
    std::string after;
    ASSERT_TRUE(Platform::ReadWholeFile(store.StorePath(), after));
    EXPECT_EQ(after, before);
}

TEST_F(RegistryTest, OtherKeysAndHandWrittenLinesAreKept) {
    MakeStoreFolder();
    ASSERT_TRUE(Platform::WriteFileAtomically(store.StorePath(), "; note\n[Software\\Other]\nName=\"v\"\n"));
    ASSERT_TRUE(store.WriteString(kKey, "InstallPath", "/a"));
    std::string text;
    ASSERT_TRUE(Platform::ReadWholeFile(store.StorePath(), text));
    EXPECT_NE(text.find("; note"), std::string::npos);
    EXPECT_EQ(store.ReadString("Software\\Other", "Name"), "v");
}

TEST_F(RegistryTest, StoreThatCannotBeReadIsNotReplaced) {
    // Larger than any file the store reads: rewriting it would drop every key.
    MakeStoreFolder();
    const int fd = ::open(store.StorePath().c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(Platform::kMaxWholeFileBytes) + 1), 0);
    ::close(fd);
    EXPECT_FALSE(store.WriteString(kKey, "InstallPath", "/a"));
    struct stat st {};
    ASSERT_EQ(::stat(store.StorePath().c_str(), &st), 0);
    EXPECT_EQ(static_cast<std::size_t>(st.st_size), Platform::kMaxWholeFileBytes + 1);
}

TEST_F(RegistryTest, ConcurrentWritersLoseNoValue) {
    constexpr int kWriters = 4;
    constexpr int kValuesEach = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([this, w] {
            for (int i = 0; i < kValuesEach; ++i)
                store.WriteString(kKey, "V" + std::to_string(w) + "_" + std::to_string(i), std::to_string(i));
        });
    }
    for (auto& writer : writers) writer.join();
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kValuesEach; ++i)
            EXPECT_EQ(store.ReadString(kKey, "V" + std::to_string(w) + "_" + std::to_string(i)), std::to_string(i));
}

TEST_F(RegistryTest, UserStoreLocation) {
    const std::string home = folders.Path("home");
    struct Case {
        const char* what;
        std::optional<std::string> storeFile, configHome, homeVar;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"override", "/x/store.ini", "/cfg", home, "/x/store.ini"},
        {"config home", std::nullopt, "/cfg", home, "/cfg/nuvalo-installer/registry.ini"},
        {"relative config home", std::nullopt, "cfg", home, home + "/.config/nuvalo-installer/registry.ini"},
        {"home only", std::nullopt, std::nullopt, home, home + "/.config/nuvalo-installer/registry.ini"},
        {"nothing", std::nullopt, std::nullopt, std::nullopt, ""},
    };
    const auto apply = [&](const char* name, const std::optional<std::string>& value) {
        if (value) folders.Set(name, *value);
        else folders.Unset(name);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        apply(Platform::Registry::kStoreFileVariable, c.storeFile);
        apply("XDG_CONFIG_HOME", c.configHome);
        apply("HOME", c.homeVar);
        EXPECT_EQ(Platform::Registry::UserStorePath(), c.expected);
    }
    EXPECT_FALSE(Platform::Registry().WriteString(kKey, "InstallPath", "/a"));
}

}  // namespace
