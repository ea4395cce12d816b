#include "skinui/CImageDescriptor.h"

#include <gtest/gtest.h>

using namespace SkinUI;

TEST(ImageDescriptorTest, AValueWithoutEqualsSignIsAPlainImageName)
{
    const auto parsed = CImageDescriptor::Parse("res\\mainWnd\\bg1.png");
    EXPECT_EQ(parsed.file, "res\\mainWnd\\bg1.png");
    EXPECT_FALSE(parsed.hasDest);
    EXPECT_FALSE(parsed.hasSource);
    EXPECT_EQ(parsed.fade, 255);
}

TEST(ImageDescriptorTest, PairsSetEveryKey)
{
    const auto parsed = CImageDescriptor::Parse(
        "file='a.png' dest='1,2,3,4' source='0,0,18,18' corner='2,2,2,2' mask='#FFFF00FF' fade='128' "
        "hole='true' xtiled='true' ytiled='false' hsl='true'");
    EXPECT_EQ(parsed.file, "a.png");
    EXPECT_TRUE(parsed.hasDest);
    EXPECT_EQ(parsed.dest, (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(parsed.source, (UIRect{0, 0, 18, 18}));
    EXPECT_EQ(parsed.corner, (UIRect{2, 2, 2, 2}));
    EXPECT_EQ(parsed.mask, 0xFFFF00FFu);
    EXPECT_EQ(parsed.fade, 128);
    EXPECT_TRUE(parsed.hole);
    EXPECT_TRUE(parsed.xTiled);
    EXPECT_FALSE(parsed.yTiled);
    EXPECT_TRUE(parsed.hsl);
}

TEST(ImageDescriptorTest, ATrailingNameAfterAClosingQuoteIsIgnored)
{
    const auto parsed = CImageDescriptor::Parse(
        "file='res\\mainWnd\\treatyCb2.png' dest='0,0,18,18' source='0,0,18,18'res\\mainWnd\\treatyCb4.png");
    EXPECT_EQ(parsed.file, "res\\mainWnd\\treatyCb2.png");
    EXPECT_EQ(parsed.dest, (UIRect{0, 0, 18, 18}));
    EXPECT_EQ(parsed.source, (UIRect{0, 0, 18, 18}));
}

TEST(ImageDescriptorTest, OddPairsAreSkippedOrEndTheValue)
{
    const struct {
        const char* text;
        const char* file;
        bool hasDest;
    } cases[] = {
        {"  file = 'a.png'  dest='1,1,2,2'", "a.png", true},  // blanks around keys and pairs
        {"file='a.png' dest=''", "a.png", false},              // empty value ignored
        {"scale9='1,1,1,1' file='b.png' wat='x'", "b.png", false},
        {"file='a.png", "", false},                             // unterminated quote
        {"file=a.png dest='1,1,2,2'", "", false},               // value without quotes
        {"res='c.png' restype='PNG' dest='0,0,5,5'", "c.png", true},
        {"=", "", false},
    };
    for (const auto& c : cases) {
        const auto parsed = CImageDescriptor::Parse(c.text);
        EXPECT_EQ(parsed.file, c.file) << c.text;
        EXPECT_EQ(parsed.hasDest, c.hasDest) << c.text;
    }
}

TEST(ImageDescriptorTest, AColourKeyNamesAOnePixelImage)
{
    const auto parsed = CImageDescriptor::Parse("color='#FF1675FE' dest='0,0,4,4'");
    EXPECT_EQ(parsed.file, "#FF1675FE");
    EXPECT_EQ(parsed.resType, "*COLOR*");
}

TEST(ImageDescriptorTest, SettingTheSameValueKeepsTheParsedState)
{
    CImageDescriptor image("file='a.png' fade='9'");
    EXPECT_EQ(image.Info().fade, 9);
    image.Set("file='a.png' fade='9'");
    EXPECT_EQ(image.Info().fade, 9);
    image.Set("b.png");
    EXPECT_EQ(image.Info().file, "b.png");
    EXPECT_EQ(image.Info().fade, 255);
}
