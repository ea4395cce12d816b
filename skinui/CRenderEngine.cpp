#include "skinui/CRenderEngine.h"

#include "skinui/CManagerUI.h"
#include "skinui/TImageEntry.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

namespace SkinUI {

namespace {

void SetColor(cairo_t* cr, uint32_t argb, bool ignoreAlpha)
{
    const double a = ignoreAlpha ? 1.0 : ((argb >> 24) & 0xFF) / 255.0;
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0, a);
}

void RectPath(cairo_t* cr, const UIRect& rect)
{
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
}

const PangoFontDescription* FallbackFont()
{
    static PangoFontDescription* font = [] {
        PangoFontDescription* description = pango_font_description_from_string("Microsoft YaHei, WenQuanYi Micro Hei, Sans");
        pango_font_description_set_absolute_size(description, 12 * PANGO_SCALE);
        return description;
    }();
    return font;
}

// Splits [from, to) at the two border widths: begin, first inner edge, second inner edge, end.
struct Bands {
    int edge[4];
};

Bands SplitBands(int from, int to, int first, int last)
{
    const int span = std::max(0, to - from);
    const int a = std::clamp(first, 0, span);
    const int b = std::clamp(last, 0, span - a);
    return Bands{{from, from + a, to - b, to}};
}

}  // namespace

CRenderEngine::CRenderEngine(CManagerUI* manager) : manager_(manager) { Resize(1, 1); }

CRenderEngine::~CRenderEngine()
{
    if (cr_ != nullptr) cairo_destroy(cr_);
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void CRenderEngine::Resize(int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    if (surface_ != nullptr && width == width_ && height == height_) return;
    if (cr_ != nullptr) cairo_destroy(cr_);
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    width_ = width;
    height_ = height;
    clipDepth_ = 0;
}

const uint32_t* CRenderEngine::Pixels() const
{
    cairo_surface_flush(surface_);
    return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface_));
}

int CRenderEngine::Stride() const { return cairo_image_surface_get_stride(surface_); }

uint32_t CRenderEngine::PixelAt(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const auto* row = reinterpret_cast<const uint8_t*>(Pixels()) + static_cast<size_t>(y) * Stride();
    return reinterpret_cast<const uint32_t*>(row)[x];
}

void CRenderEngine::Clear(const UIRect& rect)
{
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
    RectPath(cr_, rect);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CRenderEngine::DrawImage(const TImageEntry& image, const UIRect& paint, const TImageDraw& how)
{
    DrawImage(TBitmapView{image.pixels, image.width, image.height}, paint, how);
}

void CRenderEngine::FillColor(const UIRect& rect, uint32_t argb)
{
    if ((argb >> 24) == 0 || rect.IsEmpty()) return;
    SetColor(cr_, argb, false);
    RectPath(cr_, rect);
    cairo_fill(cr_);
}

void CRenderEngine::Gradient(const UIRect& rect, uint32_t argbFrom, uint32_t argbTo, bool vertical)
{
    if (rect.IsEmpty()) return;
    cairo_pattern_t* pattern = vertical ? cairo_pattern_create_linear(0, rect.top, 0, rect.bottom)
                                        : cairo_pattern_create_linear(rect.left, 0, rect.right, 0);
    for (auto [offset, argb] : {std::pair{0.0, argbFrom}, std::pair{1.0, argbTo}}) {
        cairo_pattern_add_color_stop_rgba(pattern, offset, ((argb >> 16) & 0xFF) / 255.0,
                                          ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                                          ((argb >> 24) & 0xFF) / 255.0);
    }
    cairo_set_source(cr_, pattern);
    RectPath(cr_, rect);
    cairo_fill(cr_);
    cairo_pattern_destroy(pattern);
}

void CRenderEngine::DrawImage(const TBitmapView& bitmap, const UIRect& paint, const TImageDraw& how)
{
    if (bitmap.pixels == nullptr || bitmap.width <= 0 || bitmap.height <= 0 || how.fade == 0) return;
    const UIRect whole{0, 0, bitmap.width, bitmap.height};
    const UIRect source = how.source.IsEmpty() ? whole : how.source.Intersect(whole);
    if (source.IsEmpty() || how.dest.IsEmpty() || !how.dest.Intersects(paint)) return;

    const UIRect& c = how.corners;
    const Bands destX = SplitBands(how.dest.left, how.dest.right, c.left, c.right);
    const Bands destY = SplitBands(how.dest.top, how.dest.bottom, c.top, c.bottom);
    const Bands srcX = SplitBands(source.left, source.right, c.left, c.right);
    const Bands srcY = SplitBands(source.top, source.bottom, c.top, c.bottom);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const bool middle = row == 1 && col == 1;
            if (middle && how.hole) continue;
            const UIRect dest{destX.edge[col], destY.edge[row], destX.edge[col + 1], destY.edge[row + 1]};
            const UIRect src{srcX.edge[col], srcY.edge[row], srcX.edge[col + 1], srcY.edge[row + 1]};
            if (dest.IsEmpty() || src.IsEmpty()) continue;
            DrawImagePart(bitmap, dest, src, paint, how, middle && how.xTiled, middle && how.yTiled);
        }
    }
}

void CRenderEngine::DrawImagePart(const TBitmapView& bitmap, const UIRect& dest, const UIRect& source,
                                  const UIRect& paint, const TImageDraw& how, bool tileX, bool tileY)
{
    const UIRect visible = dest.Intersect(paint);
    if (visible.IsEmpty()) return;
    // Cairo only reads the pixels; the bitmap stays the caller's.
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bitmap.pixels)), CAIRO_FORMAT_ARGB32, bitmap.width,
        bitmap.height, bitmap.width * 4);
    cairo_surface_t* piece =
        cairo_surface_create_for_rectangle(image, source.left, source.top, source.Width(), source.Height());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(piece);
    const bool tiled = tileX || tileY;
    cairo_pattern_set_extend(pattern, tiled ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    const bool scaled = dest.Width() != source.Width() || dest.Height() != source.Height();
    cairo_pattern_set_filter(pattern, scaled ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    // Pattern space -> piece space: tiles repeat from the destination's top-left corner.
    const double sx = tileX ? 1.0 : static_cast<double>(source.Width()) / dest.Width();
    const double sy = tileY ? 1.0 : static_cast<double>(source.Height()) / dest.Height();
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, sx, sy);
    cairo_matrix_translate(&matrix, -dest.left, -dest.top);
    cairo_pattern_set_matrix(pattern, &matrix);

    cairo_save(cr_);
    RectPath(cr_, visible);
    cairo_clip(cr_);
    cairo_set_source(cr_, pattern);
    const bool blend = how.alpha || how.fade < 255;
    cairo_set_operator(cr_, blend ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
    if (how.fade < 255) cairo_paint_with_alpha(cr_, how.fade / 255.0);
    else cairo_paint(cr_);
    cairo_restore(cr_);

    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(piece);
    cairo_surface_destroy(image);
}

PangoLayout* CRenderEngine::LayoutText(const UIRect& rect, std::string_view text, int font, uint32_t style)
{
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    const PangoFontDescription* description = manager_ ? manager_->GetFontDescription(font) : nullptr;
    pango_layout_set_font_description(layout, description ? description : FallbackFont());
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    const int width = std::max(0, rect.Width());
    if (style & DT_SINGLELINE) pango_layout_set_single_paragraph_mode(layout, TRUE);
    if ((style & DT_WORDBREAK) && !(style & DT_SINGLELINE)) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else if (style & DT_END_ELLIPSIS) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    }
    return layout;
}

void CRenderEngine::DrawText(const UIRect& rect, std::string_view text, uint32_t argb, int font, uint32_t style)
{
    if (text.empty() || rect.IsEmpty()) return;
    if (style & DT_CALCRECT) return;
    PangoLayout* layout = LayoutText(rect, text, font, style);
    int textWidth = 0, textHeight = 0;
    pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
    int x = rect.left;
    if (style & DT_CENTER) x = rect.left + (rect.Width() - textWidth) / 2;
    else if (style & DT_RIGHT) x = rect.right - textWidth;
    int y = rect.top;
    // Vertical placement applies to single lines only, as with the platform's text drawing.
    if ((style & DT_SINGLELINE) && (style & DT_VCENTER)) y = rect.top + (rect.Height() - textHeight) / 2;
    else if ((style & DT_SINGLELINE) && (style & DT_BOTTOM)) y = rect.bottom - textHeight;
    if (pango_layout_get_width(layout) >= 0) {
        // A wrapped or shortened layout aligns itself within its width.
        x = rect.left;
        pango_layout_set_alignment(layout, (style & DT_CENTER)  ? PANGO_ALIGN_CENTER
                                           : (style & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                                : PANGO_ALIGN_LEFT);
    }
    cairo_save(cr_);
    RectPath(cr_, rect);
    cairo_clip(cr_);
    SetColor(cr_, argb, true);
    cairo_move_to(cr_, x, y);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    g_object_unref(layout);
}

UIRect CRenderEngine::MeasureText(const UIRect& rect, std::string_view text, int font, uint32_t style)
{
    if (text.empty()) return UIRect{rect.left, rect.top, rect.left, rect.top};
    PangoLayout* layout = LayoutText(rect, text, font, style & ~DT_END_ELLIPSIS);
    int textWidth = 0, textHeight = 0;
    pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
    g_object_unref(layout);
    return UIRect{rect.left, rect.top, rect.left + textWidth, rect.top + textHeight};
}

int CRenderEngine::FontLineHeight(int font)
{
    PangoLayout* layout = LayoutText(UIRect{}, "Ag", font, DT_SINGLELINE);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return height;
}

void CRenderEngine::ApplyPen(int width, uint32_t argb, int style)
{
    SetColor(cr_, argb, false);
    cairo_set_line_width(cr_, width);
    const double dash[] = {3.0 * width, 1.0 * width};
    const double dot[] = {1.0 * width, 1.0 * width};
    if (style == PS_DASH) cairo_set_dash(cr_, dash, 2, 0);
    else if (style == PS_DOT) cairo_set_dash(cr_, dot, 2, 0);
    else cairo_set_dash(cr_, nullptr, 0, 0);
}

void CRenderEngine::RoundRectPath(const UIRect& r, UISize ellipse)
{
    const double rx = std::min(ellipse.cx / 2.0, r.Width() / 2.0);
    const double ry = std::min(ellipse.cy / 2.0, r.Height() / 2.0);
    if (rx <= 0 || ry <= 0) {
        RectPath(cr_, r);
        return;
    }
    cairo_new_sub_path(cr_);
    const struct {
        double cx, cy, from;
    } corners[4] = {{r.right - rx, r.top + ry, -G_PI / 2},
                    {r.right - rx, r.bottom - ry, 0},
                    {r.left + rx, r.bottom - ry, G_PI / 2},
                    {r.left + rx, r.top + ry, G_PI}};
    for (const auto& corner : corners) {
        cairo_save(cr_);
        cairo_translate(cr_, corner.cx, corner.cy);
        cairo_scale(cr_, rx, ry);
        cairo_arc(cr_, 0, 0, 1, corner.from, corner.from + G_PI / 2);
        cairo_restore(cr_);
    }
    cairo_close_path(cr_);
}

void CRenderEngine::DrawRect(const UIRect& rect, int width, uint32_t argb, int style)
{
    DrawRoundRect(rect, width, UISize{}, argb, style);
}

void CRenderEngine::DrawRoundRect(const UIRect& rect, int width, UISize ellipse, uint32_t argb, int style)
{
    if (width <= 0 || (argb >> 24) == 0 || rect.IsEmpty()) return;
    // The pen runs inside the rectangle.
    const double half = width / 2.0;
    cairo_save(cr_);
    cairo_translate(cr_, half, half);
    RoundRectPath(UIRect{rect.left, rect.top, rect.right - width, rect.bottom - width}, ellipse);
    cairo_restore(cr_);
    ApplyPen(width, argb, style);
    cairo_stroke(cr_);
}

void CRenderEngine::DrawLine(UIPoint from, UIPoint to, int width, uint32_t argb, int style)
{
    if (width <= 0 || (argb >> 24) == 0) return;
    const double half = width / 2.0;
    const bool horizontal = from.y == to.y;
    cairo_move_to(cr_, from.x + (horizontal ? 0 : half), from.y + (horizontal ? half : 0));
    cairo_line_to(cr_, to.x + (horizontal ? 0 : half), to.y + (horizontal ? half : 0));
    ApplyPen(width, argb, style);
    cairo_stroke(cr_);
}

void CRenderEngine::PushClip(const UIRect& rect)
{
    cairo_save(cr_);
    ++clipDepth_;
    RectPath(cr_, rect);
    cairo_clip(cr_);
}

void CRenderEngine::PushRoundClip(const UIRect& rect, UISize ellipse)
{
    cairo_save(cr_);
    ++clipDepth_;
    RoundRectPath(rect, ellipse);
    cairo_clip(cr_);
}

void CRenderEngine::PopClip()
{
    if (clipDepth_ == 0) return;
    --clipDepth_;
    cairo_restore(cr_);
}

}  // namespace SkinUI
