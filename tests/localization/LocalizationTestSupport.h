#pragma once

#include "app/LaunchSettings.h"
#include "tests/localization/EnvironmentGuard.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinResources.h"

#include <gtest/gtest.h>

#include <string>

namespace LocalizationTest {

inline const std::string kArchiveDir = LANGUAGE_ARCHIVE_DIR;

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
