#include "platform/TextConversion.h"

#include <gtest/gtest.h>

namespace {

TEST(TextConversion, DecodesGbkAndReplacesCutOffCharacter) {
    // "中文" in GBK, then the first byte of another character.
    const std::string gbk = "\xD6\xD0\xCE\xC4\xD6";
    EXPECT_EQ(Platform::DecodeCodePage(gbk, 936), "中文\xEF\xBF\xBD");
}

TEST(TextConversion, Utf8ChunkEndingInsideCharacterGetsReplacement) {
    const std::string cut = std::string("中") .substr(0, 2);
    EXPECT_EQ(Platform::DecodeCodePage("a" + cut, 65001), "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextConversion, UnknownCodePageGivesEmpty) {
    EXPECT_EQ(Platform::DecodeCodePage("abc", 1), "");
    EXPECT_EQ(Platform::EncodeCodePage("abc", 1), "");
}

TEST(TextConversion, EncodeRoundTripAndUnrepresentable) {
    EXPECT_EQ(Platform::DecodeCodePage(Platform::EncodeCodePage("中文", 936), 936), "中文");
    EXPECT_EQ(Platform::EncodeCodePage("a中", 1252), "a?");
}

TEST(TextConversion, TruncateCountsCharacters) {
    std::string s = "中文ab";
    Platform::TruncateUtf8(s, 3);
    EXPECT_EQ(s, "中文a");
    EXPECT_EQ(Platform::Utf8Length("中文ab"), 4u);
}

}  // namespace
