#include "PngImage.h"

#include <cairo.h>

#include <cstdint>

std::optional<PngImage> PngImage::Load(const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    PngImage image;
    image.width_ = cairo_image_surface_get_width(surface);
    image.height_ = cairo_image_surface_get_height(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const bool hasAlpha = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
    for (int y = 0; y < image.height_ && !image.hasVisiblePixel_; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < image.width_; ++x) {
            if (!hasAlpha || (row[x] >> 24) != 0) {
                image.hasVisiblePixel_ = true;
                break;
            }
        }
    }
    cairo_surface_destroy(surface);
    return image;
}
