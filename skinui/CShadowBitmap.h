#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>
#include <vector>

namespace SkinUI {

struct TImageEntry;

// How the computed shadow looks (ranges are checked by CWndShadow).
struct TShadowLook {
    int size = 0;        // extent beyond the window, negative shrinks
    int sharpness = 5;   // width of the soft edge
    int darkness = 150;  // opacity of the core
    int xOffset = 5;
    int yOffset = 5;
    uint32_t color = 0;  // 0x00BBGGRR
};

// One premultiplied B,G,R,A bitmap of a window's drop shadow: computed from
// the window's shape, or a nine-grid image around it.
class CShadowBitmap {
public:
    // The window's shape: for every row the first and one-past-last pixel inside.
    struct Span {
        int start = 0;
        int end = 0;
        bool IsEmpty() const { return start >= end; }
        bool Contains(int x) const { return x >= start && x < end; }
    };

    // The rows of a window of that size with a rounded region of `ellipse` (0,0 = rectangle).
    static std::vector<Span> WindowShape(int width, int height, UISize ellipse);

    // (width + 2 size) x (height + 2 size); the window itself sits at
    // (size - x offset, size - y offset) and stays transparent.
    void Compute(const std::vector<Span>& shape, int width, int height, const TShadowLook& look);
    // (width + corners left + right) x (height + top + bottom), the image's
    // border drawn as a nine-grid of `corners` + `holeOffset`, the middle left empty.
    void DrawImage(const TImageEntry& image, int width, int height, const UIRect& corners, const UIRect& holeOffset);

    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    // Premultiplied 0xAARRGGBB; 0 outside.
    uint32_t PixelAt(int x, int y) const;

private:
    void Reset(int width, int height);
    void Raise(int x, int y, uint32_t value);
    void Stamp(const std::vector<uint32_t>& kernel, int radius, int cx, int cy);

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

}  // namespace SkinUI
