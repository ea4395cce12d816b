#include "app/Localization.h"

#include "skinui/CResourceSettings.h"
#include "tests/localization/LocalizationTestSupport.h"
#include "tests/skinui/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;
constexpr auto Text = LocalizationTest::TableText;

class LoadLanguageTest : public LocalizationTest::LocalizationTestBase {};

TEST_F(LoadLanguageTest, IndexOrTagSelectsTheLanguageOfTheArchiveFile)
{
    struct Case {
        int index;
        const char* tag;
        int chosen;
        const char* text1;
    };
    const Case cases[] = {
        {5, "", 5, "Installieren"},   {0, "ja-JP", 9, "インストール"}, {5, "ja-JP", 9, "インストール"},
        {0, "xx-XX", 0, "Install"},   {20, "", 0, "Install"},          {-1, "", 0, "Install"},
        {20, "xx-XX", 0, "Install"},  {6, "de-de", 6, "Installer"},    // tags compare exactly
    };
    UseArchive("texts.7z");
    for (const Case& c : cases) {
        SkinUI::CMultiLanguage::RemoveAll();
        EXPECT_EQ(Localization::LoadLanguage(c.index, c.tag), c.chosen) << c.index << " " << c.tag;
        EXPECT_EQ(Text(1), c.text1) << c.index << " " << c.tag;
    }
}

TEST_F(LoadLanguageTest, AnElementWithoutIdReplacesTextZeroAndMissingTranslationsAreEmpty)
{
    UseArchive("texts.7z");
    SkinUI::CMultiLanguage::AddString(0, "old");
    SkinUI::CMultiLanguage::AddString(7, "not in the file");
    EXPECT_EQ(Localization::LoadLanguage(8, ""), 8);
    EXPECT_EQ(Text(0), "");
    EXPECT_EQ(Text(1), "Instalar");
    EXPECT_EQ(Text(2), "");
    EXPECT_EQ(Text(7), "not in the file");
    EXPECT_EQ(Localization::LoadLanguage(5, ""), 5);
    EXPECT_EQ(Text(0), "Ohne Kennung");
}

TEST_F(LoadLanguageTest, AnArchiveReadAnewForEveryLookupServesAsWell)
{
    SkinUI::CResourceSettings::SetResourcePath(LocalizationTest::kArchiveDir);
    SkinUI::CResourceSettings::SetArchiveFromFile("texts.7z", false);
    EXPECT_EQ(Localization::LoadLanguage(9, ""), 9);
    EXPECT_EQ(Text(2), "言語");
}

TEST_F(LoadLanguageTest, FilesOverFourMebibytesAreIgnored)
{
    UseArchive("padded-4194305.7z");
    EXPECT_EQ(Localization::LoadLanguage(5, ""), 0);
    EXPECT_EQ(Text(1), "<none>");
    UseArchive("padded-4194304.7z");
    EXPECT_EQ(Localization::LoadLanguage(0, ""), 0);
    EXPECT_EQ(Text(1), "Padded");
}

TEST_F(LoadLanguageTest, WithoutALanguageFileNothingChangesAndTheAnswerIsZero)
{
    TempFolder loose;
    loose.Write("language.json", R"([{"id": 1, "de-DE": "lose"}])");
    // Loose skin files: the file is only ever taken from an archive.
    SkinUI::CResourceSettings::SetResourcePath(loose.Path());
    EXPECT_EQ(Localization::LoadLanguage(5, ""), 0);
    // The shipped skin carries no language file.
    ASSERT_TRUE(SkinUI::CResourceSettings::UseArchiveResource(147));
    EXPECT_EQ(Localization::LoadLanguage(5, ""), 0);
    // An archive that cannot be opened.
    SkinUI::CResourceSettings::Reset();
    SkinUI::CResourceSettings::SetResourcePath(loose.Path());
    SkinUI::CResourceSettings::SetArchiveFromFile("missing.7z", true);
    EXPECT_EQ(Localization::LoadLanguage(5, ""), 0);
    EXPECT_EQ(Text(1), "<none>");
}

// Documents as they may come: what the table holds afterwards for German (index 5).
struct DocumentCase {
    const char* name;
    std::string json;
    std::vector<std::pair<int, std::string>> texts;
};

std::ostream& operator<<(std::ostream& out, const DocumentCase& c) { return out << c.name; }

class LanguageDocumentTest : public LocalizationTest::LocalizationTestBase,
                             public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(LanguageDocumentTest, LoadsWhatTheTableCanTakeAndSkipsTheRest)
{
    const DocumentCase& c = GetParam();
    EXPECT_EQ(Localization::LoadLanguageText(5, "", c.json), 5);
    for (const auto& [id, text] : c.texts) EXPECT_EQ(Text(id), text) << "id " << id;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, LanguageDocumentTest,
    ::testing::Values(
        DocumentCase{"RootObjectMembersAreElements",
                     R"({"b": {"id": 3, "de-DE": "drei"}, "a": {"id": 4, "de-DE": "vier"}})",
                     {{3, "drei"}, {4, "vier"}}},
        DocumentCase{"NonObjectElementsAreSkipped",
                     R"([1, "x", null, [{"id": 3, "de-DE": "tief"}], {"id": 4, "de-DE": "vier"}])",
                     {{3, "<none>"}, {4, "vier"}}},
        DocumentCase{"ArrayOrObjectMembersSkipTheirElement",
                     R"([{"id": 3, "de-DE": ["a"]}, {"id": [4], "de-DE": "x"}, {"id": {}, "de-DE": "y"},
                         {"id": 5, "de-DE": {"a": 1}}, {"id": 6, "de-DE": "sechs"}])",
                     {{3, "<none>"}, {4, "<none>"}, {0, "<none>"}, {5, "<none>"}, {6, "sechs"}}},
        DocumentCase{"IdsThatAreNoIntegersSkipTheirElement",
                     R"([{"id": "7", "de-DE": "x"}, {"id": 99999999999, "de-DE": "y"}, {"id": 8.0, "de-DE": "acht"}])",
                     {{7, "<none>"}, {0, "<none>"}, {8, "acht"}}},
        DocumentCase{"ScalarTextsBecomeTheirText", R"([{"id": 3, "de-DE": 12}, {"id": 4, "de-DE": true}])",
                     {{3, "12"}, {4, "true"}}},
        DocumentCase{"LaterElementsReplaceEarlierOnes",
                     R"([{"id": 3, "de-DE": "erst"}, {"id": 3, "de-DE": "dann"}])", {{3, "dann"}}},
        DocumentCase{"SyntaxErrorLoadsNothing", R"([{"id": 3, "de-DE": "drei"}, {"id": 4,])", {{3, "<none>"}}},
        DocumentCase{"ScalarRootLoadsNothing", "42", {{0, "<none>"}}},
        DocumentCase{"DeepNestingLoadsNothing", std::string(100000, '['), {{0, "<none>"}}},
        DocumentCase{"TextEndsAtTheFirstNul", "[{\"id\": 3, \"de-DE\": \"drei\"}]\0garbage"s,
                     {{3, "drei"}}},
        DocumentCase{"EscapedNulEndsATableText", R"([{"id": 3, "de-DE": "vor\u0000nach"}])", {{3, "vor"}}},
        DocumentCase{"InvalidUtf8BecomesEmpty", "[{\"id\": 3, \"de-DE\": \"\xC3\x28\"}, {\"id\": 4, "
                                                "\"de-DE\": \"\xC3\xA4\"}]",
                     {{3, ""}, {4, "ä"}}}),
    [](const ::testing::TestParamInfo<DocumentCase>& info) { return std::string(info.param.name); });

}  // namespace
