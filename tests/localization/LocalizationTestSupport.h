#pragma once

#include "app/LaunchSettings.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinResources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace LocalizationTest {

inline const std::string kArchiveDir = LANGUAGE_ARCHIVE_DIR;

// Sets environment variables for one test and puts the old values back.
class EnvironmentGuard {
public:
    ~EnvironmentGuard()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else ::unsetenv(it->first.c_str());
        }
    }
    void Set(const std::string& name, const char* value)
    {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) ::setenv(name.c_str(), value, 1);
        else ::unsetenv(name.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// No skin archive, an empty string table and no language chosen.
inline void ClearLanguageState()
{
    SkinUI::CResourceSettings::Reset();
    SkinUI::CSkinResources::ClearShared();
    SkinUI::CMultiLanguage::RemoveAll();
    LaunchSettings::Instance().LanguageIndex = -1;
}

inline std::string TableText(int id) { return SkinUI::CMultiLanguage::GetString(id).value_or("<none>"); }

class LocalizationTestBase : public ::testing::Test {
protected:
    void SetUp() override { ClearLanguageState(); }
    void TearDown() override { ClearLanguageState(); }

    // Makes a fixture archive the open skin archive.
    static void UseArchive(const std::string& name)
    {
        SkinUI::CResourceSettings::SetResourcePath(kArchiveDir);
        SkinUI::CResourceSettings::SetArchiveFromFile(name, true);
    }
};

}  // namespace LocalizationTest
