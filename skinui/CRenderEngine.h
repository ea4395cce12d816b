#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>
#include <memory>
#include <string_view>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _PangoLayout PangoLayout;

namespace SkinUI {

class CManagerUI;
struct TImageEntry;

// Text style bits of labels and of DrawText.
inline constexpr uint32_t DT_LEFT = 0x0000;
inline constexpr uint32_t DT_CENTER = 0x0001;
inline constexpr uint32_t DT_RIGHT = 0x0002;
inline constexpr uint32_t DT_VCENTER = 0x0004;
inline constexpr uint32_t DT_BOTTOM = 0x0008;
inline constexpr uint32_t DT_WORDBREAK = 0x0010;
inline constexpr uint32_t DT_SINGLELINE = 0x0020;
inline constexpr uint32_t DT_CALCRECT = 0x0400;
inline constexpr uint32_t DT_NOPREFIX = 0x0800;
inline constexpr uint32_t DT_END_ELLIPSIS = 0x8000;

// Pen styles of outlines.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;

// One plain bitmap: premultiplied B,G,R,A words, top-down, width words per row.
struct TBitmapView {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// How one image is drawn (the descriptor's keys, already parsed).
struct TImageDraw {
    UIRect dest;      // client coordinates
    UIRect source;    // inside the bitmap; empty = the whole bitmap
    UIRect corners;   // widths kept unscaled at left, top, right, bottom
    bool alpha = false;
    uint8_t fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
};

// The window's off-screen drawing surface (a Cairo ARGB32 image, the same
// premultiplied B,G,R,A layout as decoded skin images) and the drawing
// operations controls paint with. Coordinates are client pixels; every
// operation is clipped to the current clip.
class CRenderEngine {
public:
    // Fonts are resolved through the manager (its font table); without one
    // every font index is the default font.
    explicit CRenderEngine(CManagerUI* manager = nullptr);
    ~CRenderEngine();
    CRenderEngine(const CRenderEngine&) = delete;
    CRenderEngine& operator=(const CRenderEngine&) = delete;

    // Makes the surface width x height (transparent black); keeps it when unchanged.
    void Resize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint32_t* Pixels() const;
    int Stride() const;
    // One pixel (premultiplied 0xAARRGGBB); 0 outside the surface.
    uint32_t PixelAt(int x, int y) const;

    // Makes the rectangle transparent black (a repaint starts from it).
    void Clear(const UIRect& rect);
    // Alpha 0 draws nothing, 255 fills, anything else blends.
    void FillColor(const UIRect& rect, uint32_t argb);
    void Gradient(const UIRect& rect, uint32_t argbFrom, uint32_t argbTo, bool vertical);
    // Nine-grid drawing of a bitmap; only the parts meeting `paint` are drawn.
    void DrawImage(const TBitmapView& bitmap, const UIRect& paint, const TImageDraw& how);
    void DrawImage(const TImageEntry& image, const UIRect& paint, const TImageDraw& how);
    // Text colour alpha is ignored; prefix characters are not processed.
    void DrawText(const UIRect& rect, std::string_view text, uint32_t argb, int font, uint32_t style);
    // Bounding rectangle of the text laid out in rect with style (top-left kept).
    UIRect MeasureText(const UIRect& rect, std::string_view text, int font, uint32_t style);
    // Height of one line of the font.
    int FontLineHeight(int font);
    void DrawRect(const UIRect& rect, int width, uint32_t argb, int style = PS_SOLID);
    void DrawRoundRect(const UIRect& rect, int width, UISize ellipse, uint32_t argb, int style = PS_SOLID);
    void DrawLine(UIPoint from, UIPoint to, int width, uint32_t argb, int style = PS_SOLID);

    // Restricts drawing to the intersection with the current clip until the matching PopClip.
    void PushClip(const UIRect& rect);
    void PushRoundClip(const UIRect& rect, UISize ellipse);
    void PopClip();

private:
    void ApplyPen(int width, uint32_t argb, int style);
    void RoundRectPath(const UIRect& rect, UISize ellipse);
    PangoLayout* LayoutText(const UIRect& rect, std::string_view text, int font, uint32_t style);
    void DrawImagePart(const TBitmapView& bitmap, const UIRect& dest, const UIRect& source, const UIRect& paint,
                       const TImageDraw& how, bool tileX, bool tileY);

    CManagerUI* manager_;
    int width_ = 0;
    int height_ = 0;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    int clipDepth_ = 0;
};

}  // namespace SkinUI
