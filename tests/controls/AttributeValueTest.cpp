#include "skinui/AttributeValue.h"

#include <gtest/gtest.h>

#include <climits>

using namespace SkinUI;

TEST(AttributeValueTest, IntegersStopAtTheFirstNonDigitAndSaturate)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"14", 14},          {"  -7", -7},       {"+3", 3},   {"12px", 12},
        {"", 0},             {"abc", 0},         {"-", 0},    {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInt(c.text), c.expected) << c.text;
    }
}

TEST(AttributeValueTest, SizesAndRectanglesSkipOneSeparatorAndZeroWhatIsMissing)
{
    EXPECT_EQ(ParseSize("600,400"), (UISize{600, 400}));
    EXPECT_EQ(ParseSize("600"), (UISize{600, 0}));
    EXPECT_EQ(ParseRect("0,0,0,35"), (UIRect{0, 0, 0, 35}));
    EXPECT_EQ(ParseRect("1, 2, 3, 4"), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(ParseRect("5,6"), (UIRect{5, 6, 0, 0}));
    EXPECT_EQ(ParseRect(""), (UIRect{}));
    // A doubled separator: the second one is not a number, so that one reads 0.
    EXPECT_EQ(ParseRect("1,,3,4"), (UIRect{1, 0, 3, 4}));
    // A value ending in a separator never reads past its end.
    EXPECT_EQ(ParseRect("7,"), (UIRect{7, 0, 0, 0}));
}

TEST(AttributeValueTest, ColoursAreAlphaRedGreenBlueFromTheHighByte)
{
    const struct {
        const char* text;
        uint32_t expected;
    } cases[] = {
        {"#FF1890FF", 0xFF1890FF}, {"0xFF1675FE", 0xFF1675FE}, {"#0xFF000001", 0xFF000001},
        {"26003B76", 0x26003B76},  {"#FFFFFF", 0x00FFFFFF},    {"#00000000", 0},
        {"", 0},                   {"#zz", 0},                  {"#ffffffff", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColor(c.text), c.expected) << c.text;
    }
}

TEST(AttributeValueTest, BooleansAreTrueOnlyForTheExactText)
{
    EXPECT_TRUE(ParseBool("true"));
    EXPECT_FALSE(ParseBool("True"));
    EXPECT_FALSE(ParseBool("1"));
    EXPECT_FALSE(ParseBool(""));
}

TEST(AttributeValueTest, FractionsAreReadWithoutTheLocale)
{
    const std::vector<double> four = ParseDoubles("0.5,0.25,1,0", 4);
    EXPECT_EQ(four, (std::vector<double>{0.5, 0.25, 1.0, 0.0}));
    EXPECT_EQ(ParseDoubles("0.5", 4), (std::vector<double>{0.5, 0.0, 0.0, 0.0}));
    EXPECT_EQ(ParseDoubles("x,0.5", 2), (std::vector<double>{0.0, 0.0}));
}
