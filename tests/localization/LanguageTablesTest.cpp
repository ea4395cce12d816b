#include "app/Localization.h"

#include "tests/localization/LocalizationTestSupport.h"

#include <gtest/gtest.h>

namespace {

using LocalizationTest::EnvironmentGuard;

TEST(LanguageTableTest, IndexesGiveTheirTagsAndNothingOutsideTheTable)
{
    const std::pair<int, const char*> cases[] = {{0, "en-US"}, {1, "zh-CN"}, {5, "de-DE"}, {8, "pt-PT"},
                                                 {9, "ja-JP"}, {13, "it-IT"}, {14, ""},     {-1, ""}};
    for (const auto& [index, tag] : cases) EXPECT_EQ(Localization::LanguageTag(index), tag) << index;
}

TEST(SystemLanguageTableTest, IdentifiersGiveTheirIndexesAndEveryOtherEnglish)
{
    const std::pair<unsigned, int> cases[] = {
        {1033, 0},   {2052, 0},  {2070, 0},   {1028, 2},  {1057, 3},  {1055, 4},  {1031, 5},
        {1036, 6},   {1046, 8},  {1041, 9},   {1042, 10}, {1045, 11}, {1043, 12}, {2067, 12},
        {1040, 13},  {0x040A, 7}, {0x080A, 7}, {0x0C0A, 7}, {0x500A, 7},
        // Spanish sublanguages outside 1 to 20, and no language at all.
        {0x000A, 0}, {0x540A, 0}, {0, 0},      {0xFFFF, 0}};
    for (const auto& [id, index] : cases) EXPECT_EQ(Localization::LanguageIndexOfSystemId(id), index) << id;
}

TEST(LocaleLanguageTest, PosixLocaleNamesMapToWindowsIdentifiers)
{
    const std::pair<const char*, unsigned> cases[] = {
        {"zh_CN.UTF-8", 2052},   {"pt_BR.UTF-8", 1046}, {"pt_PT@euro", 2070}, {"de_DE.UTF-8@euro", 1031},
        {"DE_de", 1031},         {"de", 1031},          {"es_MX.utf8", 0x080A}, {"es_US", 0x540A},
        {"nl_BE.UTF-8", 2067},   {"en_US", 1033},       {"C", 1033},          {"POSIX", 1033},
        {"C.UTF-8", 1033},       {"de_AT", 0},          {"en_GB.UTF-8", 0},   {"xx_YY", 0},
        {"", 0},                 {"_", 0},              {"zh_TW.Big5", 1028}};
    for (const auto& [locale, id] : cases) EXPECT_EQ(Localization::LanguageIdOfLocale(locale), id) << locale;
}

TEST(LocaleLanguageTest, SystemLanguageComesFromLcAllThenLcMessagesThenLang)
{
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        int index;
    };
    const Case cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", 0},          // PRC Chinese has no row of its own
        {nullptr, "pt_BR.UTF-8", "de_DE.UTF-8", 8},    // Brazilian Portuguese
        {"pt_PT.UTF-8", "pt_BR.UTF-8", nullptr, 0},    // European Portuguese
        {"", "ja_JP.UTF-8", "de_DE.UTF-8", 9},         // an empty variable counts as unset
        {nullptr, nullptr, nullptr, 0},
        {"es_AR.UTF-8", nullptr, nullptr, 7},
    };
    for (const Case& c : cases) {
        EnvironmentGuard environment;
        environment.Set("LC_ALL", c.lcAll);
        environment.Set("LC_MESSAGES", c.lcMessages);
        environment.Set("LANG", c.lang);
        EXPECT_EQ(Localization::LanguageFromSystem(), c.index)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
    }
}

}  // namespace
