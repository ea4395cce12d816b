#pragma once

#include "platform/FileSystem.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinResources.h"

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

// A fresh temporary folder, removed again with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "skinui-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string Write(const std::string& name, const std::string& contents) const
    {
        const std::string path = path_ + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(Platform::WriteFileAtomically(path, contents));
        return path;
    }

private:
    std::string path_;
};

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
