#include "skinui/CImageLoader.h"
#include "skinui/CSkinResources.h"

#include "platform/ResourceTable.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

using SkinUI::CImageLoader;
using SkinUI::CSkinResources;

// PNG bytes of straight-alpha RGBA pixels, one row.
std::string Png(const std::vector<uint8_t>& rgba)
{
    std::string png;
    const int width = static_cast<int>(rgba.size() / 4);
    stbi_write_png_to_func(
        [](void* context, void* data, int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); },
        &png, width, 1, 4, rgba.data(), width * 4);
    return png;
}

std::vector<uint32_t> Pixels(const SkinUI::TImageEntry& image)
{
    return std::vector<uint32_t>(image.pixels, image.pixels + image.width * image.height);
}

class ImageTablesTest : public SkinTest::ProcessStateTest {};

TEST_F(ImageTablesTest, PixelsArePremultipliedBgraWords)
{
    const struct {
        std::vector<uint8_t> rgba;
        uint32_t mask;
        uint32_t word;
        bool alpha;
    } cases[] = {
        {{255, 0, 0, 255}, 0, 0xFFFF0000, false},
        {{10, 20, 30, 255}, 0, 0xFF0A141E, false},
        {{255, 255, 255, 128}, 0, 0x80808080, true},
        {{200, 100, 50, 0}, 0, 0x00000000, true},       // A = 0 clears the colour
        {{255, 0, 255, 255}, 0xFFFF00FF, 0, true},      // the colour key
        {{255, 0, 255, 255}, 0xFF00FF00, 0xFFFF00FF, false},
    };
    for (const auto& c : cases) {
        auto image = CImageLoader::Decode(Png(c.rgba), c.mask);
        ASSERT_NE(nullptr, image);
        ASSERT_EQ(1, image->width);
        EXPECT_EQ(c.word, image->pixels[0]) << std::hex << c.word;
        EXPECT_EQ(c.alpha, image->alpha) << std::hex << c.word;
        EXPECT_EQ(c.mask, image->mask);
        // The bytes in memory are B, G, R, A.
        const auto* bytes = reinterpret_cast<const uint8_t*>(image->pixels);
        EXPECT_EQ(c.word & 0xFF, bytes[0]);
        EXPECT_EQ(c.word >> 24, bytes[3]);
    }
}

TEST_F(ImageTablesTest, ColourImages)
{
    const struct {
        const char* name;
        uint32_t word;
        bool alpha;
    } cases[] = {
        {"80FF0000", 0x80800000, true},
        {"#80FF0000", 0x80800000, true},
        {"FF00FF00", 0xFF00FF00, false},
        {"00FFFFFF", 0x00000000, true},
        {"nonsense", 0x00000000, true},
    };
    for (const auto& c : cases) {
        auto image = CImageLoader::Load(c.name, "*COLOR*", 0);
        ASSERT_NE(nullptr, image) << c.name;
        EXPECT_EQ(1, image->width);
        EXPECT_EQ(1, image->height);
        EXPECT_EQ(c.word, image->pixels[0]) << c.name;
        EXPECT_EQ(c.alpha, image->alpha) << c.name;
        EXPECT_EQ("*COLOR*", image->resourceType);
    }
}

TEST_F(ImageTablesTest, SourcesOfImageBytes)
{
    TempFolder folder;
    const std::string png = Png({1, 2, 3, 255, 4, 5, 6, 255});
    const std::string loose = folder.Write("loose.png", png);
    static const std::string linked = Png({9, 9, 9, 255});
    Platform::ResourceTable::Register("PNG", 301, linked.data(), linked.size());
    Platform::ResourceTable::Register("PNG", "named", linked.data(), linked.size());
    static const std::string archive = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    SkinUI::CResourceSettings::SetArchiveFromMemory(archive.data(), archive.size());

    const struct {
        std::string name;
        const char* type;
        int width;
    } cases[] = {
        {"res\\mainWnd\\CB1.png", "", 2},   // from the skin
        {loose, "", 2},                     // not in the skin: a file path
        {"301", "PNG", 1},
        {"named", "png", 1},
        {"302", "PNG", 0},
        {"missing.png", "", 0},
        {"exitTipWnd.xml", "", 0},          // not an image
    };
    for (const auto& c : cases) {
        auto image = CImageLoader::Load(c.name, c.type, 0);
        EXPECT_EQ(c.width, image == nullptr ? 0 : image->width) << c.name;
    }
    auto fromSkin = CImageLoader::Load("res/mainWnd/cb1.png", "", 0);
    ASSERT_NE(nullptr, fromSkin);
    EXPECT_EQ((std::vector<uint32_t>{0xFFFF0000, 0x80808080}), Pixels(*fromSkin));
}

TEST_F(ImageTablesTest, TheNameAloneIsTheCacheKey)
{
    TempFolder folder;
    const std::string path = folder.Write("masked.png", Png({255, 0, 255, 255, 0, 0, 0, 255}));
    CSkinResources window;
    const SkinUI::TImageEntry* first = window.GetImage(path, "", 0xFFFF00FF);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0u, first->pixels[0]);
    EXPECT_EQ(first, window.GetImage(path, "", 0xFF000000));
    EXPECT_EQ(first, window.GetImage(path, "", 0, true));
    EXPECT_EQ(0xFFFF00FFu, first->mask);
    EXPECT_FALSE(first->useHsl);
    EXPECT_EQ(nullptr, window.GetImage(folder.Path() + "/missing.png"));
}

TEST_F(ImageTablesTest, OwnAndSharedTables)
{
    TempFolder folder;
    const std::string path = folder.Write("a.png", Png({1, 1, 1, 255}));
    CSkinResources first;
    CSkinResources second;
    const SkinUI::TImageEntry* shared = first.AddImage(path, "", 0, false, true);
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(shared, second.FindImage(path));

    const SkinUI::TImageEntry* own = second.AddImage(path, "", 0, true, false);
    ASSERT_NE(nullptr, own);
    EXPECT_NE(shared, own);
    EXPECT_EQ(own, second.FindImage(path));
    EXPECT_EQ(shared, first.FindImage(path));
    EXPECT_TRUE(own->useHsl);
    EXPECT_EQ(Pixels(*own), own->sourcePixels);

    // Replacing keeps the old entry readable for controls that still hold it.
    const SkinUI::TImageEntry* replacement = second.AddImage(path, "", 0xFF010101, false, false);
    ASSERT_NE(nullptr, replacement);
    EXPECT_EQ(replacement, second.FindImage(path));
    EXPECT_EQ(0xFF010101u, own->pixels[0]);

    CSkinResources forced;
    forced.SetForceShared(true);
    const SkinUI::TImageEntry* forcedEntry = forced.AddImage(path, "", 0, false, false);
    EXPECT_EQ(forcedEntry, first.FindImage(path));
    EXPECT_EQ(nullptr, first.AddImage(folder.Path() + "/missing.png"));
}

TEST_F(ImageTablesTest, Fonts)
{
    CSkinResources window;
    CSkinResources other;
    const SkinUI::TFontEntry* processDefault = window.GetFont(-1);
    ASSERT_NE(nullptr, processDefault);
    EXPECT_EQ(processDefault, window.GetFont(5));

    const SkinUI::TFontEntry* bold = window.AddFont(0, "微软雅黑", 14, true, true, false);
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ(bold, window.GetFont(0));
    EXPECT_EQ(processDefault, other.GetFont(0));
    EXPECT_EQ(processDefault, window.GetFont(-1));
    EXPECT_EQ(PANGO_WEIGHT_ULTRAHEAVY, pango_font_description_get_weight(bold->font));
    EXPECT_EQ(14 * PANGO_SCALE, pango_font_description_get_size(bold->font));
    EXPECT_TRUE(pango_font_description_get_size_is_absolute(bold->font));
    // The skin's face first, then installed fonts that can stand in for it.
    EXPECT_STREQ("微软雅黑,Microsoft YaHei,WenQuanYi Micro Hei,Noto Sans CJK SC,Droid Sans Fallback,sans-serif",
                 pango_font_description_get_family(bold->font));
    EXPECT_EQ("微软雅黑", bold->face);
    EXPECT_TRUE(bold->underline);
    EXPECT_GT(bold->Metrics().height, 0);

    const SkinUI::TFontEntry* shared = window.AddFont(1, std::string(40, 'F'), 12, false, false, true, true);
    EXPECT_EQ(31u, shared->face.size());
    EXPECT_EQ(PANGO_STYLE_ITALIC, pango_font_description_get_style(shared->font));
    EXPECT_EQ(shared, other.GetFont(1));

    window.SetDefaultFont("Serif", 20, false, false, false);
    EXPECT_EQ("Serif", window.GetFont(-1)->face);
    EXPECT_EQ(processDefault, other.GetFont(-1));
    other.SetDefaultFont("Mono", 10, false, false, false, true);
    EXPECT_EQ("Mono", other.GetFont(-1)->face);
    EXPECT_EQ("Serif", window.GetFont(-1)->face);
}

TEST_F(ImageTablesTest, DefaultAttributeLists)
{
    CSkinResources window;
    CSkinResources other;
    window.AddDefaultAttributeList("Button", "textcolor=\"#FF000000\"");
    window.AddDefaultAttributeList("Button", "height=\"30\"");
    other.AddDefaultAttributeList("Label", "width=\"9\"", true);
    EXPECT_EQ("height=\"30\"", window.GetDefaultAttributeList("Button"));
    EXPECT_EQ("", other.GetDefaultAttributeList("Button"));
    EXPECT_EQ("width=\"9\"", window.GetDefaultAttributeList("Label"));
    window.AddDefaultAttributeList("Label", "width=\"1\"");
    EXPECT_EQ("width=\"1\"", window.GetDefaultAttributeList("Label"));
    EXPECT_EQ("width=\"9\"", other.GetDefaultAttributeList("Label"));
}

}  // namespace
