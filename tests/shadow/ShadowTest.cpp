#include "platform/WindowMessages.h"
#include "skinui/CManagerUI.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinFrame.h"
#include "skinui/CWndShadow.h"
#include "tests/host/HostTestSupport.h"
#include "tests/utils/TempFolder.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Platform::Rect;

// The installer's main window look: 600 x 400, size 6, sharpness 10, darkness 20, offset (1, 1).
std::string Skin(const std::string& shadowAttributes, const std::string& size = "600,400")
{
    return R"(<?xml version="1.0" encoding="utf-8"?><Window size=")" + size + R"(" roundcorner="2,2" )" +
           shadowAttributes + R"(><VerticalLayout bkcolor="#FFFFFFFF" /></Window>)";
}

const std::string kInstallerShadow = R"(showshadow="true" shadowsize="6" shadowsharpness="10" shadowdarkness="20" )"
                                     R"(shadowposition="1,1" shadowcolor="#26003B76")";

class ShadowFrame : public SkinUI::CSkinFrame {
public:
    explicit ShadowFrame(std::string skin)
        : CSkinFrame(SkinUI::TSkinFrameParams{SkinUI::ResourceKind::File, 0, "", std::move(skin), "ShadowFrame"})
    {
    }
    Platform::WindowId Open(int x = 100, int y = 100, int width = 600, int height = 400)
    {
        return Create(0, "Shadow", SkinUI::UI_WS_OVERLAPPEDWINDOW, 0, x, y, width, height);
    }
};

class ShadowTest : public HostTest::HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        CWndShadow::Initialize();
    }

    // Shows the frame and dispatches what that brings (paint, activation).
    void ShowAndPump(ShadowFrame& frame)
    {
        frame.ShowWindow(true);
        PumpIdle();
    }
    bool ShadowVisible(ShadowFrame& frame) const
    {
        const Platform::WindowId shadow = frame.GetShadow().GetShadowWindow();
        return shadow != 0 && headless_->IsVisible(shadow);
    }
    Rect ShadowRect(ShadowFrame& frame) const { return headless_->GetWindowRect(frame.GetShadow().GetShadowWindow()); }
};

TEST_F(ShadowTest, InstallerWindowGetsShadowFiveLeftAndAbove)
{
    ShadowFrame frame(Skin(kInstallerShadow));
    ASSERT_NE(frame.Open(), 0u);
    EXPECT_FALSE(ShadowVisible(frame));  // nothing before the window is shown
    ShowAndPump(frame);
    ASSERT_TRUE(ShadowVisible(frame));
    EXPECT_EQ(ShadowRect(frame), (Rect{95, 95, 707, 507}));
    EXPECT_EQ(frame.GetShadow().GetBitmap().Width(), 612);
    EXPECT_EQ(frame.GetShadow().GetBitmap().Height(), 412);
    EXPECT_EQ(CWndShadow::FromParent(frame.GetHWND()), &frame.GetShadow());
}

TEST_F(ShadowTest, ComputedPixelsFadeOutwardsAndLeaveTheWindowClear)
{
    ShadowFrame frame(Skin(kInstallerShadow));
    frame.Open();
    ShowAndPump(frame);
    const Platform::WindowId shadow = frame.GetShadow().GetShadowWindow();
    // The window covers (5,5)-(605,405) of the shadow; the soft edge starts 4 px inside the
    // window's shape and fades over 11 px: opacity = trunc((1 - d / 11) * 20), colour premultiplied.
    struct Case {
        int x;
        int y;
        uint32_t pixel;
    };
    const Case cases[] = {
        {0, 0, 0},                  // corner, beyond the edge's reach
        {611, 411, 0},              // opposite corner
        {306, 0, 0x01000000},       // top edge, 10 px from the core
        {306, 3, 0x07030100},       // 7 px
        {2, 200, 0x05020100},       // left edge, 8 px
        {606, 200, 0x0A040200},     // right of the window, 5 px
        {306, 405, 0x0C050200},     // below the window, 4 px
        {306, 200, 0},              // under the window
        {5, 5, 0},                  // the window's own corner
        {604, 404, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frame.GetShadow().GetBitmap().PixelAt(c.x, c.y), c.pixel) << c.x << "," << c.y;
        EXPECT_EQ(headless_->PresentedPixel(shadow, c.x, c.y), c.pixel) << c.x << "," << c.y;
    }
}

TEST_F(ShadowTest, ColourIsReadAsBlueGreenRed)
{
    // Installed-path tip colour; darkness 255 makes the channels tell apart.
    ShadowFrame frame(Skin(R"(showshadow="true" shadowsize="6" shadowsharpness="10" shadowdarkness="255" )"
                           R"(shadowposition="1,1" shadowcolor="#FFEDF0F4")"));
    frame.Open();
    ShowAndPump(frame);
    // d = 8: opacity 69; red 0xF4, green 0xF0, blue 0xED.
    EXPECT_EQ(frame.GetShadow().GetBitmap().PixelAt(2, 200), 0x45424040u);
}

TEST_F(ShadowTest, SettersRejectValuesOutOfRangeAndKeepThePrevious)
{
    ShadowFrame frame(Skin(kInstallerShadow));
    frame.Open();
    ShowAndPump(frame);
    CWndShadow& shadow = frame.GetShadow();
    EXPECT_FALSE(shadow.SetSize(25));
    EXPECT_FALSE(shadow.SetSize(-21));
    EXPECT_FALSE(shadow.SetSharpness(21));
    EXPECT_FALSE(shadow.SetSharpness(-1));
    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetPosition(21, 0));
    EXPECT_FALSE(shadow.SetPosition(0, -21));
    EXPECT_EQ(ShadowRect(frame), (Rect{95, 95, 707, 507}));
    // A valid change redraws at once.
    EXPECT_TRUE(shadow.SetSize(-20));
    EXPECT_EQ(ShadowRect(frame), (Rect{121, 121, 681, 481}));
    EXPECT_TRUE(shadow.SetSize(20));
    EXPECT_TRUE(shadow.SetPosition(-20, 20));
    EXPECT_EQ(ShadowRect(frame), (Rect{60, 100, 700, 540}));
}

TEST_F(ShadowTest, MaximisedWindowHasNoShadowUntilRestored)
{
    ShadowFrame frame(Skin(kInstallerShadow));
    frame.Open();
    ShowAndPump(frame);
    frame.SendMessage(Platform::WM_SYSCOMMAND, Platform::SC_MAXIMIZE);
    PumpIdle();
    EXPECT_FALSE(ShadowVisible(frame));
    frame.SendMessage(Platform::WM_SYSCOMMAND, Platform::SC_RESTORE);
    PumpIdle();
    EXPECT_TRUE(ShadowVisible(frame));
    EXPECT_EQ(ShadowRect(frame), (Rect{95, 95, 707, 507}));
}

TEST_F(ShadowTest, ShadowFollowsMovesSizesAndVisibility)
{
    ShadowFrame frame(Skin(kInstallerShadow));
    frame.Open();
    ShowAndPump(frame);
    headless_->MoveWindow(frame.GetHWND(), {300, 200, 900, 600});
    EXPECT_EQ(ShadowRect(frame), (Rect{295, 195, 907, 607}));
    // Shrinking redraws at once, growing at the next paint.
    headless_->MoveWindow(frame.GetHWND(), {300, 200, 800, 500});
    EXPECT_EQ(ShadowRect(frame), (Rect{295, 195, 807, 507}));
    headless_->MoveWindow(frame.GetHWND(), {300, 200, 1000, 700});
    EXPECT_EQ(ShadowRect(frame), (Rect{295, 195, 807, 507}));
    PumpIdle();
    EXPECT_EQ(ShadowRect(frame), (Rect{295, 195, 1007, 707}));
    frame.ShowWindow(false);
    EXPECT_FALSE(ShadowVisible(frame));
    ShowAndPump(frame);
    EXPECT_TRUE(ShadowVisible(frame));
    frame.SendMessage(Platform::WM_SYSCOMMAND, Platform::SC_MINIMIZE);
    EXPECT_FALSE(ShadowVisible(frame));
}

TEST_F(ShadowTest, ShowShadowMustBeTrueInAnyCase)
{
    struct Case {
        const char* value;
        bool shadow;
    };
    const Case cases[] = {{"true", true}, {"TRUE", true}, {"True", true}, {"yes", false}, {"1", false}, {"", false}};
    for (const Case& c : cases) {
        ShadowFrame frame(Skin(std::string("showshadow=\"") + c.value + "\""));
        frame.Open();
        EXPECT_EQ(frame.GetShadow().GetShadowWindow() != 0, c.shadow) << c.value;
    }
    ShadowFrame without(Skin(""));
    without.Open();
    EXPECT_EQ(without.GetShadow().GetShadowWindow(), 0u);
}

TEST_F(ShadowTest, ShadowWindowTakesNoFocusAndGoesWithItsWindow)
{
    Platform::WindowId shadow = 0;
    {
        ShadowFrame frame(Skin(kInstallerShadow));
        frame.Open();
        ShowAndPump(frame);
        shadow = frame.GetShadow().GetShadowWindow();
        EXPECT_EQ(headless_->GetActiveWindow(), frame.GetHWND());
        EXPECT_EQ(headless_->GetOwner(shadow), frame.GetHWND());
        frame.Close();
        PumpIdle();
        EXPECT_FALSE(headless_->IsWindow(shadow));
        EXPECT_EQ(CWndShadow::FromParent(frame.GetHWND()), nullptr);
    }
    // A frame destroyed while its window is open takes the shadow along.
    auto frame = std::make_unique<ShadowFrame>(Skin(kInstallerShadow));
    frame->Open();
    ShowAndPump(*frame);
    shadow = frame->GetShadow().GetShadowWindow();
    frame.reset();
    EXPECT_FALSE(headless_->IsWindow(shadow));
}

// A 30 x 30 shadow image: a blue 10 px frame around a green middle. Each test
// writes its own copy, as tests run in parallel and would read one another's half-written file.
void WriteFrameImage(const TempFolder& folder)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 30, 30);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 0.0, 0.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_rgba(cr, 0.0, 1.0, 0.0, 1.0);
    cairo_rectangle(cr, 10, 10, 10, 10);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, (folder / "frame.png").c_str());
    cairo_surface_destroy(surface);
}

TEST_F(ShadowTest, ImageShadowIsANineGridAroundTheWindow)
{
    TempFolder images;
    WriteFrameImage(images);
    SkinUI::CResourceSettings::SetResourcePath(images.Path() + "/");
    struct Case {
        const char* holeOffset;
        uint32_t atEleven;  // 11 px in from the left, halfway down: the hole, or the grown border
    };
    for (const Case& c : {Case{"0,0,0,0", 0u}, Case{"2,2,2,2", 0xFF00FF00u}}) {
        ShadowFrame frame(Skin(std::string(R"(showshadow="true" shadowimage="frame.png" shadowcorner="10,10,10,10" )") +
                               R"(shadowholeoffset=")" + c.holeOffset + R"(" shadowsize="6")"));
        frame.Open();
        ShowAndPump(frame);
        const SkinUI::CShadowBitmap& bitmap = frame.GetShadow().GetBitmap();
        EXPECT_EQ(ShadowRect(frame), (Rect{90, 90, 710, 510})) << c.holeOffset;
        EXPECT_EQ(bitmap.PixelAt(0, 0), 0xFF0000FFu);
        EXPECT_EQ(bitmap.PixelAt(619, 419), 0xFF0000FFu);
        EXPECT_EQ(bitmap.PixelAt(310, 5), 0xFF0000FFu);
        EXPECT_EQ(bitmap.PixelAt(310, 210), 0u);
        EXPECT_EQ(bitmap.PixelAt(11, 210), c.atEleven) << c.holeOffset;
    }
}

TEST_F(ShadowTest, MissingShadowImageKeepsTheComputedShadow)
{
    TempFolder images;
    WriteFrameImage(images);
    SkinUI::CResourceSettings::SetResourcePath(images.Path() + "/");
    ShadowFrame frame(Skin(R"(showshadow="true" shadowimage="missing.png" shadowcorner="10,10,10,10" )"
                           R"(shadowsize="6" shadowposition="1,1")"));
    frame.Open();
    ShowAndPump(frame);
    EXPECT_EQ(ShadowRect(frame), (Rect{95, 95, 707, 507}));
    EXPECT_FALSE(frame.GetShadow().SetImage("missing.png", {}, {}));
    EXPECT_TRUE(frame.GetShadow().SetImage("frame.png", {10, 10, 10, 10}, {}));
    EXPECT_EQ(ShadowRect(frame), (Rect{90, 90, 710, 510}));
}

TEST_F(ShadowTest, NoShadowWhereTranslucentWindowsDoNotBlend)
{
    headless_->SetTranslucentWindows(false);
    ShadowFrame frame(Skin(kInstallerShadow));
    frame.Open();
    ShowAndPump(frame);
    EXPECT_EQ(frame.GetShadow().GetShadowWindow(), 0u);
    EXPECT_EQ(CWndShadow::FromParent(frame.GetHWND()), nullptr);
}

TEST_F(ShadowTest, NoShadowForAWindowThatDoesNotExist)
{
    SkinUI::CManagerUI manager;
    manager.SetWindowAttribute("showshadow", "true");
    manager.SetWindowAttribute("shadowsize", "6");
    CWndShadow shadow;
    shadow.Create(12345, manager);
    EXPECT_EQ(shadow.GetShadowWindow(), 0u);
    EXPECT_FALSE(shadow.SetImage("any.png", {}, {}));
    EXPECT_TRUE(shadow.SetSize(6));
}

TEST_F(ShadowTest, AttributeValuesOutOfRangeAreIgnored)
{
    ShadowFrame frame(Skin(R"(showshadow="true" shadowsize="25" shadowsharpness="99" shadowdarkness="300" )"
                           R"(shadowposition="40,1" shadowcolor="#zz")"));
    frame.Open();
    ShowAndPump(frame);
    // Defaults stay: size 0, offset (5, 5).
    EXPECT_EQ(ShadowRect(frame), (Rect{105, 105, 705, 505}));
}

}  // namespace
