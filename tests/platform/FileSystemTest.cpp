#include "platform/FileSystem.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

TEST(FileSystem, PathPieces) {
    EXPECT_EQ(Platform::ParentFolder("/opt/nuvalo/installer"), "/opt/nuvalo");
    EXPECT_EQ(Platform::ParentFolder("installer"), "");
    EXPECT_EQ(Platform::JoinPath("/opt", "a.ini"), "/opt/a.ini");
    EXPECT_EQ(Platform::JoinPath("/opt/", "a.ini"), "/opt/a.ini");
    EXPECT_EQ(Platform::JoinPath("", "a.ini"), "a.ini");
    EXPECT_EQ(Platform::ExecutablePath(), std::filesystem::read_symlink("/proc/self/exe").string());
}

TEST(FileSystem, ReadsOnlyRegularFilesOfBoundedSize) {
    TempFolder folder;
    std::string contents = "stale";
    EXPECT_TRUE(Platform::ReadWholeFile(folder.Write("a", std::string("x\0y", 3)), contents));
    EXPECT_EQ(contents, std::string("x\0y", 3));
    EXPECT_FALSE(Platform::ReadWholeFile(folder.Path(), contents));
    EXPECT_EQ(contents, "");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(Platform::ReadWholeFile(folder / "fifo", contents));  // would block on open otherwise
    std::filesystem::resize_file(folder.Write("big", ""), Platform::kMaxWholeFileBytes + 1);
    EXPECT_FALSE(Platform::ReadWholeFile(folder / "big", contents));
    EXPECT_TRUE(Platform::FileExists(folder / "a"));
    EXPECT_FALSE(Platform::DirectoryExists(folder / "a"));
    EXPECT_TRUE(Platform::DirectoryExists(folder.Path()));
    EXPECT_FALSE(Platform::FileExists(""));
}

TEST(FileSystem, AtomicWriteKeepsThePermissions) {
    TempFolder folder;
    const std::string path = folder.Write("a", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(Platform::WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    std::string contents;
    EXPECT_TRUE(Platform::ReadWholeFile(path, contents));
    EXPECT_EQ(contents, "new");
}

}  // namespace
