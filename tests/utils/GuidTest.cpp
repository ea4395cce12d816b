#include "utils/Guid.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

TEST(Guid, OnlyTheThirdGroupIsLowerCase) {
    const Utils::Guid guid{0x0A1B2C3D, 0x4E5F, 0x6A7B, {0x8C, 0x9D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x5D}};
    EXPECT_EQ(Utils::FormatGuidString(guid), "0A1B2C3D4E5F6a7b8C9D0E1F2A3B4C5D");
    EXPECT_EQ(Utils::FormatGuidString(Utils::Guid{}), std::string(32, '0'));
}

TEST(Guid, NewGuidsAreRandomVersion4) {
    const std::regex form("[0-9A-F]{12}4[0-9a-f]{3}[89AB][0-9A-F]{15}");
    const std::string first = Utils::NewGuidString();
    const std::string second = Utils::NewGuidString();
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_TRUE(std::regex_match(second, form)) << second;
    EXPECT_NE(first, second);
}

}  // namespace
