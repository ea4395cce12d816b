#include "utils/Directories.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(CreateDirectories, CreatesEveryMissingFolder) {
    TempFolder root;
    for (const std::string& path : {root / "a/b/c", root / "d/e/", root / "a/b/c", root / "f//g"}) {
        EXPECT_TRUE(Utils::CreateDirectories(path)) << path;
        EXPECT_TRUE(fs::is_directory(path)) << path;
    }
}

TEST(CreateDirectories, StopsAtTheFirstFolderItCannotCreate) {
    TempFolder root;
    root.Write("file", "");  // a file where a folder must go
    // Were the walk to go on past "file/", it would create "c" beside it.
    EXPECT_FALSE(Utils::CreateDirectories(root / "a/../file/../c"));
    EXPECT_TRUE(fs::is_directory(root / "a"));
    EXPECT_FALSE(fs::exists(root / "c"));
    EXPECT_TRUE(fs::is_regular_file(root / "file"));
}

TEST(CreateDirectories, RefusesWhatCannotBeAFolder) {
    TempFolder root;
    root.Write("file", "");
    EXPECT_FALSE(Utils::CreateDirectories(root / "file"));
    EXPECT_FALSE(Utils::CreateDirectories(""));
    EXPECT_FALSE(Utils::CreateDirectories(root / std::string("n\0ul/x", 6)));
    EXPECT_FALSE(fs::exists(root / "n"));
    std::string tooLong = root.Path();
    while (tooLong.size() <= 260) tooLong += "/ab";
    EXPECT_FALSE(Utils::CreateDirectories(tooLong));
    EXPECT_FALSE(fs::exists(root / "ab"));
    EXPECT_TRUE(Utils::CreateDirectories("/"));
}

TEST(TempWorkFolder, CreatedOnceInsideTheTemporaryFolder) {
    TempFolder root;
    const std::string expected = root / "~TekdorTemp.92482B06FB471E17/";
    EXPECT_EQ(Utils::GetTempWorkFolderIn(root.Path()), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_EQ(Utils::GetTempWorkFolderIn(root.Path()), expected);
    EXPECT_EQ(Utils::GetTempWorkFolderIn(root.Path() + "/"), expected);
}

TEST(TempWorkFolder, HonoursTmpdir) {
    TempFolder root;
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved ? saved : "";
    ::setenv("TMPDIR", root.Path().c_str(), 1);
    const std::string folder = Utils::GetTempWorkFolder();
    if (saved) ::setenv("TMPDIR", previous.c_str(), 1);
    else ::unsetenv("TMPDIR");
    EXPECT_EQ(folder, root / "~TekdorTemp.92482B06FB471E17/");
}

TEST(TempWorkFolder, EmptyWhenUnusable) {
    TempFolder root;
    EXPECT_EQ(Utils::GetTempWorkFolderIn(root / std::string(240, 'x')), "");
    EXPECT_EQ(Utils::GetTempWorkFolderIn(root / "missing/deeper"), "");
    EXPECT_EQ(Utils::GetTempWorkFolderIn(""), "");

    TempFolder planted;
    fs::create_directory(planted / "elsewhere");
    fs::create_directory_symlink(planted / "elsewhere", planted / "~TekdorTemp.92482B06FB471E17");
    EXPECT_EQ(Utils::GetTempWorkFolderIn(planted.Path()), "");

    TempFolder shared;
    fs::create_directory(shared / "~TekdorTemp.92482B06FB471E17");
    ::chmod((shared / "~TekdorTemp.92482B06FB471E17").c_str(), 0777);
    EXPECT_EQ(Utils::GetTempWorkFolderIn(shared.Path()), "");
}

}  // namespace
