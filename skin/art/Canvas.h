#pragma once

#include "skin/art/Colour.h"

#include <cairo.h>

#include <string>

namespace SkinArt {

enum class Align { Left, Center, Right };

struct TextStyle {
    double pixels = 14;
    bool bold = false;
    Colour colour;
    bool underline = false;
};

// One transparent ARGB image being drawn, with the few shapes every piece of art shares.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return cr_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetColour(const Colour& colour);
    // Colour and width for the next stroke, with round caps and joins.
    void Pen(const Colour& colour, double width);
    void RoundedRect(double x, double y, double w, double h, double radius);
    void FillRoundedRect(double x, double y, double w, double h, double radius, const Colour& colour);
    void FillRoundedRectGradient(double x, double y, double w, double h, double radius,
                                 const Colour& top, const Colour& bottom);
    void StrokeRoundedRect(double x, double y, double w, double h, double radius,
                           const Colour& colour, double lineWidth = 1);
    // A blurred drop shadow under a rounded rectangle, built from stacked translucent rings.
    void SoftShadow(double x, double y, double w, double h, double radius, const Colour& colour, int blur);
    void FillCircle(double cx, double cy, double radius, const Colour& colour);
    // A rounded bar with a dot below it, centred on cx; the dot scales with the bar's width.
    void Exclamation(double cx, double top, double barHeight, double barWidth, const Colour& colour);

    double TextWidth(const std::string& text, const TextStyle& style) const;
    // Draws one line of text centred vertically (by its ink) in the box. Text that does not
    // fit the box or that the fonts cannot show is remembered as a fault of this image.
    void Text(const std::string& text, const TextStyle& style, double x, double y, double w, double h,
              Align align = Align::Center);

    bool SavePng(const std::string& path) const;
    // "" when every text drawn so far is whole and legible.
    const std::string& TextFault() const { return textFault_; }

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::string textFault_;
};

}  // namespace SkinArt
