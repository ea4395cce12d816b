#include "utils/HardDiskManager.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(HardDiskManager, FillsTheThreeCountsOfTheFolder) {
    TempFolder folder;
    Utils::HardDiskManager disk;
    ASSERT_TRUE(disk.CheckFreeSpace(folder.Path()));
    EXPECT_GT(disk.totalBytes, 0u);
    EXPECT_LE(disk.freeBytesAvailable, disk.totalFreeBytes);
    EXPECT_LE(disk.totalFreeBytes, disk.totalBytes);
}

TEST(HardDiskManager, FailureKeepsTheCountsAndLogs) {
    TempFolder folder;
    Utils::HardDiskManager disk;
    disk.freeBytesAvailable = 1;
    disk.totalBytes = 2;
    disk.totalFreeBytes = 3;
    for (const std::string& path : {folder / "missing", std::string()}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(disk.CheckFreeSpace(path));
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("(Utils::HardDiskManager::CheckFreeSpace)"), std::string::npos) << log;
        EXPECT_NE(log.find("HardDiskManager::CheckFreeSpace FAIL code=2\r\n"), std::string::npos) << log;
    }
    EXPECT_EQ(disk.freeBytesAvailable, 1u);
    EXPECT_EQ(disk.totalBytes, 2u);
    EXPECT_EQ(disk.totalFreeBytes, 3u);
}

}  // namespace
