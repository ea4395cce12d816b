#include "skin/art/BrandMark.h"

#include "skin/art/Palette.h"

#include <algorithm>

namespace SkinArt {

namespace {

void DocumentPath(cairo_t* cr, double x, double y, double w, double h, double fold)
{
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w - fold, y);
    cairo_line_to(cr, x + w, y + fold);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
}

void Arrow(Canvas& canvas, const Colour& colour, double fromX, double toX, double y, double head, double width)
{
    cairo_t* cr = canvas.Cr();
    const double direction = toX > fromX ? 1 : -1;
    canvas.Pen(colour, width);
    cairo_move_to(cr, fromX, y);
    cairo_line_to(cr, toX, y);
    cairo_move_to(cr, toX - direction * head, y - head);
    cairo_line_to(cr, toX, y);
    cairo_line_to(cr, toX - direction * head, y + head);
    cairo_stroke(cr);
}

}  // namespace

void DrawBrandMark(Canvas& canvas, double x, double y, double size, bool onDark)
{
    cairo_t* cr = canvas.Cr();
    const double radius = size * 0.26;
    if (onDark)
        canvas.FillRoundedRectGradient(x, y, size, size, radius, Palette::White, Palette::Haze);
    else
        canvas.FillRoundedRectGradient(x, y, size, size, radius, Colour::Rgb(0x3C8DFF), Palette::BrandPressed);

    const Colour paper = onDark ? Palette::Brand : Palette::White;
    const Colour ink = onDark ? Palette::White : Palette::Brand;
    const double docW = size * 0.50;
    const double docH = size * 0.62;
    const double docX = x + (size - docW) / 2;
    const double docY = y + (size - docH) / 2;
    const double fold = docW * 0.34;

    DocumentPath(cr, docX, docY, docW, docH, fold);
    canvas.SetColour(paper);
    cairo_fill(cr);

    // The folded corner, a shade darker than the page.
    cairo_move_to(cr, docX + docW - fold, docY);
    cairo_line_to(cr, docX + docW - fold, docY + fold);
    cairo_line_to(cr, docX + docW, docY + fold);
    cairo_close_path(cr);
    canvas.SetColour(onDark ? Palette::BrandLight : Palette::SkyPale);
    cairo_fill(cr);

    const double stroke = std::max(1.2, size * 0.055);
    const double head = size * 0.07;
    const double left = docX + docW * 0.22;
    const double right = docX + docW * 0.78;
    Arrow(canvas, ink, left, right, docY + docH * 0.50, head, stroke);
    Arrow(canvas, ink, right, left, docY + docH * 0.76, head, stroke);
}

}  // namespace SkinArt
