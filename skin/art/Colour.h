#pragma once

#include <cstdint>

namespace SkinArt {

// A straight (not premultiplied) colour in Cairo's 0..1 range.
struct Colour {
    double r = 0, g = 0, b = 0, a = 1;

    static constexpr Colour Rgb(std::uint32_t rgb, double alpha = 1.0)
    {
        return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
    }

    constexpr Colour WithAlpha(double alpha) const { return {r, g, b, alpha}; }
};

}  // namespace SkinArt
