#include "skinui/CMultiLanguage.h"

#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

using SkinUI::CMultiLanguage;

class MultiLanguageTest : public SkinTest::ProcessStateTest {};

TEST_F(MultiLanguageTest, StringsReplaceEarlierOnes)
{
    EXPECT_FALSE(CMultiLanguage::GetString(3).has_value());
    CMultiLanguage::AddString(3, "旧");
    CMultiLanguage::AddString(3, "新");
    EXPECT_EQ("新", CMultiLanguage::GetString(3));
}

TEST_F(MultiLanguageTest, TokenReplacement)
{
    CMultiLanguage::AddString(0, "zero");
    CMultiLanguage::AddString(12, "安装");
    CMultiLanguage::AddString(5, "%{5}x");
    CMultiLanguage::AddString(6, "%{12}");
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"%{12}", "安装"},
        {"a %{12} b %{12}", "a 安装 b 安装"},
        {"%{7}", "%{7}"},            // absent id stays
        {"%{x}", "%{x}"},
        {"100%", "100%"},
        {"% {12}", "% {12}"},
        {"%{12", "%{12"},
        {"%%{12}", "%安装"},
        {"%{}", "zero"},             // no digits is id 0
        {"%{012}", "安装"},
        {"%{99999999999999}", "%{99999999999999}"},
        {"%{5}", "%{5}x"},           // a replacement is not scanned again
        {"%{6}", "%{12}"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        CMultiLanguage::ReplaceTokens(text);
        EXPECT_EQ(c.expected, text) << c.text;
    }
}

}  // namespace
