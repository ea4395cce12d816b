#include "skin/art/ArtOutput.h"
#include "skin/art/Canvas.h"
#include "skin/art/Palette.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(Canvas, CaptionThatOverflowsItsBoxIsAFault)
{
    const struct {
        const char* text;
        double width;
        double height;
        bool fits;
    } cases[] = {
        {"立即安装", 120, 30, true},
        {"立即安装", 40, 30, false},  // too narrow
        {"立即安装", 120, 6, false},  // too low
        {"", 1, 1, true},
    };
    for (const auto& c : cases) {
        SkinArt::Canvas canvas(200, 40);
        canvas.Text(c.text, {20, true, SkinArt::Palette::Brand}, 0, 0, c.width, c.height);
        EXPECT_EQ(canvas.TextFault().empty(), c.fits) << c.text << " in " << c.width << "x" << c.height;
    }
}

TEST(Canvas, ImageWithATextFaultFailsTheRun)
{
    const char* base = std::getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/skin-canvas-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);

    SkinArt::ArtOutput output(folder);
    SkinArt::Canvas fine(10, 10);
    output.Save(fine, "res/fine.png");
    EXPECT_TRUE(output.Succeeded());
    EXPECT_TRUE(Platform::FileExists(folder + "/res/fine.png"));

    SkinArt::Canvas clipped(10, 10);
    clipped.Text("安装完成", {14, false, SkinArt::Palette::Ink}, 0, 0, 10, 10);
    output.Save(clipped, "res/clipped.png");
    EXPECT_FALSE(output.Succeeded());

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
