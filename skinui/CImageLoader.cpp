#include "skinui/CImageLoader.h"

#include "platform/FileSystem.h"
#include "platform/ResourceTable.h"
#include "skinui/CResourceSettings.h"

#include <cstdlib>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
// Cairo cannot hold larger images; refusing them early also bounds memory.
#define STBI_MAX_DIMENSIONS 16384
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace SkinUI {
namespace {

// Images larger than this in the skin or on disk are not read.
constexpr std::size_t kMaxImageFileBytes = 64u << 20;

struct StbPixels {
    stbi_uc* data = nullptr;
    ~StbPixels() { stbi_image_free(data); }
};

std::unique_ptr<TImageEntry> NewBitmap(int width, int height)
{
    auto image = std::make_unique<TImageEntry>();
    image->bitmap = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(image->bitmap) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_surface_flush(image->bitmap);
    image->pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image->bitmap));
    image->width = width;
    image->height = height;
    return image;
}

// Premultiplies one straight-alpha pixel and applies the colour key.
uint32_t PremultipliedPixel(uint8_t r, uint8_t g, uint8_t b, uint8_t a, uint32_t mask, bool& alpha)
{
    if (a != 255) {
        r = static_cast<uint8_t>(r * a / 255);
        g = static_cast<uint8_t>(g * a / 255);
        b = static_cast<uint8_t>(b * a / 255);
        alpha = true;
    }
    const uint32_t word = (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
    if (word != mask) return word;
    alpha = true;
    return 0;
}

uint32_t ParseColorName(const std::string& name)
{
    const char* digits = name.c_str();
    if (*digits == '#') ++digits;
    const unsigned long long value = std::strtoull(digits, nullptr, 16);
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

std::string_view LinkedResource(const std::string& name, const std::string& type)
{
    if (!name.empty() && name[0] >= '0' && name[0] <= '9') {
        return Platform::ResourceTable::Find(type, std::atoi(name.c_str()));
    }
    return Platform::ResourceTable::Find(type, name);
}

std::string SkinOrFileBytes(const std::string& name)
{
    std::string bytes;
    if (CResourceSettings::ReadSkinFile(name, bytes, kMaxImageFileBytes) == SkinReadStatus::Ok) return bytes;
    if (!Platform::ReadWholeFile(name, bytes)) bytes.clear();
    return bytes;
}

}  // namespace

std::unique_ptr<TImageEntry> CImageLoader::Load(const std::string& name, const std::string& type, uint32_t mask)
{
    std::unique_ptr<TImageEntry> image;
    if (type == kColorType) {
        image = FromColor(ParseColorName(name), mask);
    } else if (type.empty()) {
        image = Decode(SkinOrFileBytes(name), mask);
    } else {
        image = Decode(LinkedResource(name, type), mask);
    }
    if (image != nullptr) image->resourceType = type;
    return image;
}

std::unique_ptr<TImageEntry> CImageLoader::Decode(std::string_view bytes, uint32_t mask)
{
    if (bytes.empty() || bytes.size() > kMaxImageFileBytes) return nullptr;
    int width = 0;
    int height = 0;
    int channels = 0;
    StbPixels source;
    source.data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                        &width, &height, &channels, 4);
    if (source.data == nullptr) return nullptr;
    auto image = NewBitmap(width, height);
    if (image == nullptr) return nullptr;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < count; ++i) {
        const stbi_uc* rgba = source.data + i * 4;
        image->pixels[i] = PremultipliedPixel(rgba[0], rgba[1], rgba[2], rgba[3], mask, image->alpha);
    }
    image->mask = mask;
    cairo_surface_mark_dirty(image->bitmap);
    return image;
}

std::unique_ptr<TImageEntry> CImageLoader::FromColor(uint32_t argb, uint32_t mask)
{
    auto image = NewBitmap(1, 1);
    if (image == nullptr) return nullptr;
    image->pixels[0] = PremultipliedPixel(static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                          static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24), mask,
                                          image->alpha);
    image->mask = mask;
    cairo_surface_mark_dirty(image->bitmap);
    return image;
}

}  // namespace SkinUI
