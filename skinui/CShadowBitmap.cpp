#include "skinui/CShadowBitmap.h"

#include "platform/RoundRegion.h"
#include "skinui/CRenderEngine.h"
#include "skinui/TImageEntry.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {

namespace {

using Span = CShadowBitmap::Span;

// The shadow colour at an opacity, premultiplied.
uint32_t ShadowPixel(uint32_t color, int opacity)
{
    const auto channel = [opacity](uint32_t value) { return (value & 0xFF) * static_cast<uint32_t>(opacity) / 255; };
    return static_cast<uint32_t>(opacity) << 24 | channel(color) << 16 | channel(color >> 8) << 8 | channel(color >> 16);
}

// Opacities of the soft edge around one outline pixel, (2 radius + 1) squared.
std::vector<uint32_t> MakeKernel(const TShadowLook& look, int radius)
{
    const int solid = look.size > look.sharpness ? look.size - look.sharpness : 0;
    const int side = 2 * radius + 1;
    std::vector<uint32_t> kernel(static_cast<size_t>(side) * side, 0);
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const double distance = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            int opacity = 0;
            if (distance < solid) {
                opacity = look.darkness;
            } else if (distance <= radius) {
                opacity = static_cast<int>((1.0 - (distance - solid) / (look.sharpness + 1)) * look.darkness);
            }
            kernel[static_cast<size_t>(dy + radius) * side + (dx + radius)] = ShadowPixel(look.color, opacity);
        }
    }
    return kernel;
}

Span RowAt(const std::vector<Span>& rows, int y)
{
    return y >= 0 && y < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(y)] : Span{};
}

// One step of narrowing: a row keeps what it shares with both neighbours, one pixel in from each end.
std::vector<Span> Narrow(const std::vector<Span>& rows)
{
    std::vector<Span> narrowed(rows.size());
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        const Span above = RowAt(rows, y - 1);
        const Span row = RowAt(rows, y);
        const Span below = RowAt(rows, y + 1);
        if (above.IsEmpty() || row.IsEmpty() || below.IsEmpty()) continue;
        narrowed[static_cast<size_t>(y)] = Span{std::max({above.start, row.start, below.start}) + 1,
                                                std::min({above.end, row.end, below.end}) - 1};
    }
    return narrowed;
}

bool OnOutline(const std::vector<Span>& rows, int x, int y)
{
    const Span row = RowAt(rows, y);
    return x == row.start || x == row.end - 1 || !RowAt(rows, y - 1).Contains(x) || !RowAt(rows, y + 1).Contains(x);
}

}  // namespace

std::vector<Span> CShadowBitmap::WindowShape(int width, int height, UISize ellipse)
{
    std::vector<Span> rows(static_cast<size_t>(std::max(0, height)));
    if (ellipse.cx == 0 && ellipse.cy == 0) {
        std::fill(rows.begin(), rows.end(), Span{0, width});
        return rows;
    }
    // The region is one pixel wider and higher than the window, as the window layer sets it.
    for (const Platform::Rect& run : Platform::RoundRegionSpans(width + 1, height + 1, {ellipse.cx, ellipse.cy})) {
        for (int y = std::max(0, run.top); y < std::min(height, run.bottom); ++y) {
            rows[static_cast<size_t>(y)] = Span{std::max(0, run.left), std::min(width, run.right)};
        }
    }
    return rows;
}

void CShadowBitmap::Reset(int width, int height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    pixels_.assign(static_cast<size_t>(width_) * height_, 0);
}

uint32_t CShadowBitmap::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void CShadowBitmap::Raise(int x, int y, uint32_t value)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint32_t& pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    pixel = std::max(pixel, value);
}

void CShadowBitmap::Stamp(const std::vector<uint32_t>& kernel, int radius, int cx, int cy)
{
    const int side = 2 * radius + 1;
    for (int ky = 0; ky < side; ++ky) {
        for (int kx = 0; kx < side; ++kx) {
            Raise(cx - radius + kx, cy - radius + ky, kernel[static_cast<size_t>(ky) * side + kx]);
        }
    }
}

void CShadowBitmap::Compute(const std::vector<Span>& shape, int width, int height, const TShadowLook& look)
{
    Reset(width + 2 * look.size, height + 2 * look.size);
    if (width_ == 0 || height_ == 0) return;
    // The core is the window's shape, drawn in by the part of the soft edge
    // that does not fit into the shadow's extent, so the edge fades out at the border.
    std::vector<Span> core = shape;
    for (int step = 0; step < look.sharpness - look.size; ++step) core = Narrow(core);

    const int radius = std::max(look.sharpness, look.size);
    const std::vector<uint32_t> kernel = MakeKernel(look, radius);
    const uint32_t solid = ShadowPixel(look.color, look.darkness);
    for (int y = 0; y < static_cast<int>(core.size()); ++y) {
        const Span row = core[static_cast<size_t>(y)];
        for (int x = row.start; x < row.end; ++x) {
            if (OnOutline(core, x, y)) Stamp(kernel, radius, x + look.size, y + look.size);
            Raise(x + look.size, y + look.size, solid);
        }
    }
    // Nothing under the window itself: the shadow must not darken through it.
    const int dx = look.size - look.xOffset;
    const int dy = look.size - look.yOffset;
    for (int y = 0; y < static_cast<int>(shape.size()); ++y) {
        const int row = y + dy;
        if (row < 0 || row >= height_) continue;
        const Span span = shape[static_cast<size_t>(y)];
        const int from = std::clamp(span.start + dx, 0, width_);
        const int to = std::clamp(span.end + dx, 0, width_);
        std::fill(pixels_.begin() + static_cast<ptrdiff_t>(row) * width_ + from,
                  pixels_.begin() + static_cast<ptrdiff_t>(row) * width_ + std::max(from, to), 0u);
    }
}

void CShadowBitmap::DrawImage(const TImageEntry& image, int width, int height, const UIRect& corners,
                              const UIRect& holeOffset)
{
    Reset(width + corners.left + corners.right, height + corners.top + corners.bottom);
    if (width_ == 0 || height_ == 0) return;
    CRenderEngine render;
    render.Resize(width_, height_);
    TImageDraw how;
    how.dest = UIRect{0, 0, width_, height_};
    how.corners = UIRect{corners.left + holeOffset.left, corners.top + holeOffset.top,
                         corners.right + holeOffset.right, corners.bottom + holeOffset.bottom};
    how.hole = true;
    render.DrawImage(image, how.dest, how);
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(render.Pixels()) +
                                                            static_cast<size_t>(y) * render.Stride());
        std::copy(row, row + width_, pixels_.begin() + static_cast<ptrdiff_t>(y) * width_);
    }
}

}  // namespace SkinUI
