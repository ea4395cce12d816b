#pragma once

#include "platform/FileSystem.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinResources.h"
#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace SkinTest {

inline std::string ReadFixture(const std::string& path)
{
    std::string bytes;
    EXPECT_TRUE(Platform::ReadWholeFile(path, bytes)) << path;
    return bytes;
}

// Every test starts and ends with the process-wide tables empty.
class ProcessStateTest : public ::testing::Test {
protected:
    void SetUp() override { ClearProcessState(); }
    void TearDown() override { ClearProcessState(); }

    static void ClearProcessState()
    {
        SkinUI::CResourceSettings::Reset();
        SkinUI::CSkinResources::ClearShared();
        SkinUI::CMultiLanguage::RemoveAll();
    }
};

}  // namespace SkinTest
