#include "skin/art/Canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace SkinArt {

namespace {

// The skin's face first; the CJK font installed with the project when it is not there.
constexpr const char* kFontFamilies = "微软雅黑,WenQuanYi Micro Hei";

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

LayoutPtr MakeLayout(cairo_t* cr, const std::string& text, const TextStyle& style)
{
    LayoutPtr layout(pango_cairo_create_layout(cr));

    // Fixed rendering options keep the output identical from build to build.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options);
    cairo_font_options_destroy(options);
    pango_layout_context_changed(layout.get());

    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, kFontFamilies);
    pango_font_description_set_absolute_size(font, style.pixels * PANGO_SCALE);
    pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);

    if (style.underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    return layout;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_))
{
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
}

Canvas::~Canvas()
{
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::SetColour(const Colour& colour)
{
    cairo_set_source_rgba(cr_, colour.r, colour.g, colour.b, colour.a);
}

void Canvas::Pen(const Colour& colour, double width)
{
    SetColour(colour);
    cairo_set_line_width(cr_, width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

void Canvas::RoundedRect(double x, double y, double w, double h, double radius)
{
    radius = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr_, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr_, x + radius, y + radius, radius, M_PI, 1.5 * M_PI);
    cairo_close_path(cr_);
}

void Canvas::FillRoundedRect(double x, double y, double w, double h, double radius, const Colour& colour)
{
    RoundedRect(x, y, w, h, radius);
    SetColour(colour);
    cairo_fill(cr_);
}

void Canvas::FillRoundedRectGradient(double x, double y, double w, double h, double radius,
                                     const Colour& top, const Colour& bottom)
{
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    RoundedRect(x, y, w, h, radius);
    cairo_set_source(cr_, gradient);
    cairo_fill(cr_);
    cairo_pattern_destroy(gradient);
}

void Canvas::StrokeRoundedRect(double x, double y, double w, double h, double radius,
                               const Colour& colour, double lineWidth)
{
    RoundedRect(x, y, w, h, radius);
    Pen(colour, lineWidth);
    cairo_stroke(cr_);
}

void Canvas::SoftShadow(double x, double y, double w, double h, double radius, const Colour& colour, int blur)
{
    // Each ring adds a little opacity towards the middle: a cheap, smooth Gaussian stand-in.
    for (int step = blur; step >= 1; --step) {
        const double falloff = 1.0 - static_cast<double>(step) / (blur + 1);
        FillRoundedRect(x - step, y - step, w + 2 * step, h + 2 * step, radius + step,
                        colour.WithAlpha(colour.a * falloff * falloff / blur * 2.2));
    }
}

void Canvas::FillCircle(double cx, double cy, double radius, const Colour& colour)
{
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
    SetColour(colour);
    cairo_fill(cr_);
}

void Canvas::Exclamation(double cx, double top, double barHeight, double barWidth, const Colour& colour)
{
    FillRoundedRect(cx - barWidth / 2, top, barWidth, barHeight, barWidth / 2, colour);
    FillCircle(cx, top + barHeight + 1.4 * barWidth, 0.6 * barWidth, colour);
}

double Canvas::TextWidth(const std::string& text, const TextStyle& style) const
{
    LayoutPtr layout = MakeLayout(cr_, text, style);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    return logical.width;
}

void Canvas::Text(const std::string& text, const TextStyle& style, double x, double y, double w, double h,
                  Align align)
{
    LayoutPtr layout = MakeLayout(cr_, text, style);
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    if (textFault_.empty() && pango_layout_get_unknown_glyphs_count(layout.get()) > 0)
        textFault_ = "no installed font shows \"" + text + "\"";
    if (textFault_.empty() && (logical.width > w || ink.height > h))
        textFault_ = "\"" + text + "\" does not fit its box";

    double left = x;
    if (align == Align::Center)
        left = x + (w - logical.width) / 2.0;
    else if (align == Align::Right)
        left = x + w - logical.width;
    const double top = y + (h - ink.height) / 2.0 - ink.y;

    cairo_save(cr_);
    cairo_move_to(cr_, std::round(left), std::round(top));
    SetColour(style.colour);
    pango_cairo_show_layout(cr_, layout.get());
    cairo_restore(cr_);
}

bool Canvas::SavePng(const std::string& path) const
{
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace SkinArt
