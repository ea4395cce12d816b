#include "skinui/TFontEntry.h"

#include <pango/pangocairo.h>

namespace SkinUI {

TFontEntry::~TFontEntry()
{
    if (font != nullptr) pango_font_description_free(font);
}

const TFontMetrics& TFontEntry::Metrics() const
{
    if (measured_ || font == nullptr) return metrics_;
    measured_ = true;
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    PangoFontMetrics* metrics = pango_context_get_metrics(context, font, nullptr);
    metrics_.ascent = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics));
    metrics_.descent = PANGO_PIXELS(pango_font_metrics_get_descent(metrics));
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.aveCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics));
    pango_font_metrics_unref(metrics);
    g_object_unref(context);
    return metrics_;
}

}  // namespace SkinUI
