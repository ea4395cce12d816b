#include "skinui/CRenderEngine.h"

#include <gtest/gtest.h>

#include <vector>

using SkinUI::CRenderEngine;
using SkinUI::TBitmapView;
using SkinUI::TImageDraw;
using SkinUI::UIRect;

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

uint8_t Channel(uint32_t pixel, int shift) { return static_cast<uint8_t>((pixel >> shift) & 0xFF); }

// A 6x6 image: 2-pixel corners red, green, blue and white, edges grey, the
// 2x2 middle two columns: black-ish (0xFF101010) then 0xFF202020.
class NineGridTest : public ::testing::Test {
protected:
    NineGridTest() : pixels_(36, 0xFF808080)
    {
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool left = x < 2, right = x >= 4, top = y < 2, bottom = y >= 4;
                uint32_t& p = pixels_[y * 6 + x];
                if (top && left) p = kRed;
                else if (top && right) p = kGreen;
                else if (bottom && left) p = kBlue;
                else if (bottom && right) p = kWhite;
                else if (!left && !right && !top && !bottom) p = x == 2 ? 0xFF101010 : 0xFF202020;
            }
        }
    }

    TBitmapView Bitmap() const { return TBitmapView{pixels_.data(), 6, 6}; }
    static TImageDraw Grid(UIRect dest)
    {
        TImageDraw how;
        how.dest = dest;
        how.corners = UIRect{2, 2, 2, 2};
        return how;
    }

    std::vector<uint32_t> pixels_;
    CRenderEngine render_;
};

TEST_F(NineGridTest, CornersStayUnscaledWhileTheRestStretches)
{
    render_.Resize(40, 40);
    render_.DrawImage(Bitmap(), UIRect{0, 0, 40, 40}, Grid(UIRect{10, 10, 30, 30}));
    const struct {
        int x, y;
        uint32_t expected;
    } cases[] = {
        {10, 10, kRed}, {11, 11, kRed}, {28, 10, kGreen}, {29, 11, kGreen}, {10, 28, kBlue},
        {11, 29, kBlue}, {28, 28, kWhite}, {29, 29, kWhite},
        {12, 10, 0xFF808080}, {20, 10, 0xFF808080}, {10, 20, 0xFF808080},  // edges stretched
        {9, 9, 0}, {30, 30, 0},                                             // nothing outside dest
    };
    for (const auto& c : cases) EXPECT_EQ(render_.PixelAt(c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST_F(NineGridTest, HoleLeavesTheMiddleUndrawn)
{
    render_.Resize(40, 40);
    TImageDraw how = Grid(UIRect{10, 10, 30, 30});
    how.hole = true;
    render_.DrawImage(Bitmap(), UIRect{0, 0, 40, 40}, how);
    EXPECT_EQ(render_.PixelAt(20, 20), 0u);
    EXPECT_EQ(render_.PixelAt(13, 13), 0u);
    EXPECT_EQ(render_.PixelAt(20, 10), 0xFF808080u);
}

TEST_F(NineGridTest, OnlyThePaintRectangleIsDrawn)
{
    render_.Resize(40, 40);
    render_.DrawImage(Bitmap(), UIRect{0, 0, 20, 40}, Grid(UIRect{10, 10, 30, 30}));
    EXPECT_EQ(render_.PixelAt(10, 10), kRed);
    EXPECT_EQ(render_.PixelAt(29, 10), 0u);
}

TEST_F(NineGridTest, TiledMiddleRepeatsFromTheLeftAndCutsTheLastTile)
{
    render_.Resize(40, 40);
    TImageDraw how = Grid(UIRect{0, 0, 9, 6});  // middle 5 wide from a 2-wide source: 2 + 2 + 1
    how.xTiled = true;
    render_.DrawImage(Bitmap(), UIRect{0, 0, 40, 40}, how);
    const uint32_t expected[] = {0xFF101010, 0xFF202020, 0xFF101010, 0xFF202020, 0xFF101010};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(render_.PixelAt(2 + i, 2), expected[i]) << i;
    EXPECT_EQ(render_.PixelAt(7, 2), 0xFF808080u);  // the right edge follows the cut tile
}

TEST_F(NineGridTest, FadeBlendsWithConstantOpacity)
{
    render_.Resize(10, 10);
    render_.FillColor(UIRect{0, 0, 10, 10}, kBlue);
    TImageDraw how;
    how.dest = UIRect{0, 0, 2, 2};
    how.source = UIRect{0, 0, 2, 2};  // the red corner
    how.fade = 128;
    render_.DrawImage(Bitmap(), UIRect{0, 0, 10, 10}, how);
    const uint32_t p = render_.PixelAt(0, 0);
    EXPECT_EQ(Channel(p, 24), 255);
    EXPECT_NEAR(Channel(p, 16), 128, 2);
    EXPECT_NEAR(Channel(p, 0), 127, 2);
}

TEST(RenderEngineTest, TranslucentFillBlendsAndTransparentFillDrawsNothing)
{
    CRenderEngine render;
    render.Resize(10, 10);
    render.FillColor(UIRect{0, 0, 10, 10}, kWhite);
    render.FillColor(UIRect{0, 0, 5, 10}, 0x80FF0000);
    render.FillColor(UIRect{5, 0, 10, 10}, 0x00FF0000);
    const uint32_t blended = render.PixelAt(2, 2);
    EXPECT_EQ(Channel(blended, 24), 255);
    EXPECT_EQ(Channel(blended, 16), 255);
    EXPECT_NEAR(Channel(blended, 8), 127, 2);
    EXPECT_EQ(render.PixelAt(7, 2), kWhite);
}

TEST(RenderEngineTest, RoundedClipCutsTheCorners)
{
    CRenderEngine render;
    render.Resize(20, 20);
    render.PushRoundClip(UIRect{0, 0, 20, 20}, SkinUI::UISize{10, 10});
    render.FillColor(UIRect{0, 0, 20, 20}, kRed);
    render.PopClip();
    render.FillColor(UIRect{0, 0, 1, 1}, 0);  // the clip is gone again: nothing changes with alpha 0
    EXPECT_EQ(render.PixelAt(0, 0), 0u);
    EXPECT_EQ(render.PixelAt(19, 19), 0u);
    EXPECT_EQ(render.PixelAt(10, 10), kRed);
    EXPECT_EQ(render.PixelAt(10, 0), kRed);
    render.FillColor(UIRect{0, 0, 1, 1}, kGreen);
    EXPECT_EQ(render.PixelAt(0, 0), kGreen);
}

TEST(RenderEngineTest, TextColourAlphaIsIgnored)
{
    CRenderEngine render;
    render.Resize(80, 30);
    render.FillColor(UIRect{0, 0, 80, 30}, 0xFF000000);
    render.DrawText(UIRect{0, 0, 80, 30}, "HHH", 0x00FFFFFF, -1, SkinUI::DT_SINGLELINE | SkinUI::DT_VCENTER);
    uint8_t brightest = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) brightest = std::max(brightest, Channel(render.PixelAt(x, y), 16));
    }
    EXPECT_GE(brightest, 250);
}

TEST(RenderEngineTest, TextIsClippedToItsRectangleAndMeasured)
{
    CRenderEngine render;
    render.Resize(100, 40);
    const UIRect measured = render.MeasureText(UIRect{5, 5, 100, 40}, "HHHHHHHH", -1, SkinUI::DT_SINGLELINE);
    EXPECT_EQ(measured.left, 5);
    EXPECT_GT(measured.Width(), 20);
    EXPECT_GT(measured.Height(), 5);
    render.DrawText(UIRect{0, 0, 10, 40}, "HHHHHHHH", kWhite, -1, SkinUI::DT_SINGLELINE);
    for (int y = 0; y < 40; ++y) EXPECT_EQ(render.PixelAt(15, y), 0u) << y;
    EXPECT_EQ(render.MeasureText(UIRect{5, 5, 10, 10}, "", -1, 0), (UIRect{5, 5, 5, 5}));
}

TEST(RenderEngineTest, OutlinesDrawInsideTheRectangle)
{
    CRenderEngine render;
    render.Resize(20, 20);
    render.DrawRect(UIRect{2, 2, 18, 18}, 2, kRed);
    EXPECT_EQ(render.PixelAt(2, 2), kRed);
    EXPECT_EQ(render.PixelAt(3, 10), kRed);
    EXPECT_EQ(render.PixelAt(17, 17), kRed);
    EXPECT_EQ(render.PixelAt(4, 10), 0u);
    EXPECT_EQ(render.PixelAt(1, 10), 0u);
    render.DrawLine(SkinUI::UIPoint{0, 0}, SkinUI::UIPoint{20, 0}, 1, kBlue);
    EXPECT_EQ(render.PixelAt(10, 0), kBlue);
}

TEST(RenderEngineTest, BadImagesDrawNothing)
{
    CRenderEngine render;
    render.Resize(10, 10);
    const uint32_t pixel = kRed;
    TImageDraw how;
    how.dest = UIRect{0, 0, 10, 10};
    how.source = UIRect{5, 5, 9, 9};  // outside the 1x1 image
    render.DrawImage(TBitmapView{&pixel, 1, 1}, UIRect{0, 0, 10, 10}, how);
    render.DrawImage(TBitmapView{nullptr, 4, 4}, UIRect{0, 0, 10, 10}, how);
    how.source = {};
    how.corners = UIRect{50, 50, 50, 50};  // corners larger than the image are cut to it
    render.DrawImage(TBitmapView{&pixel, 1, 1}, UIRect{0, 0, 10, 10}, how);
    EXPECT_EQ(render.PixelAt(0, 0), kRed);
}

}  // namespace
