#pragma once

#include <optional>
#include <string>

// Size and visibility of one generated PNG, read through Cairo.
class PngImage {
public:
    static std::optional<PngImage> Load(const std::string& path);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // False for an image that would draw nothing at all.
    bool HasVisiblePixel() const { return hasVisiblePixel_; }

private:
    int width_ = 0;
    int height_ = 0;
    bool hasVisiblePixel_ = false;
};
