#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

// One decoded image. The bitmap is a Cairo ARGB32 image surface: top-down
// 32-bit words 0xAARRGGBB (bytes B, G, R, A), colours premultiplied by alpha.
struct TImageEntry {
    TImageEntry() = default;
    ~TImageEntry();
    TImageEntry(const TImageEntry&) = delete;
    TImageEntry& operator=(const TImageEntry&) = delete;

    cairo_surface_t* bitmap = nullptr;
    // width x height words inside the bitmap (its stride is width * 4).
    uint32_t* pixels = nullptr;
    // Copy of the pixels, kept only for images loaded with the HSL flag.
    std::vector<uint32_t> sourcePixels;
    int32_t width = 0;
    int32_t height = 0;
    // Some pixel is not fully opaque or was cleared by the mask.
    bool alpha = false;
    bool useHsl = false;
    // "" for skin or file images, "*COLOR*" for colour images.
    std::string resourceType;
    uint32_t mask = 0;
};

}  // namespace SkinUI
