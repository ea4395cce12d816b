#include "skin/art/DialogArt.h"

#include "skin/art/ButtonState.h"
#include "skin/art/Palette.h"

#include <cmath>

namespace SkinArt {

namespace {

struct CloseLook {
    Colour disc;
    Colour cross;
};

// Close buttons on the dialogs' pale title bars: a grey cross that darkens over a disc.
CloseLook DialogCloseLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Hot:
        return {Colour::Rgb(0xE6EBF2), Colour::Rgb(0x3D4556)};
    case ButtonState::Pushed:
        return {Colour::Rgb(0xD5DDE8), Palette::Ink};
    case ButtonState::Disabled:
        return {{0, 0, 0, 0}, Colour::Rgb(0xCDD2DA)};
    case ButtonState::Normal:
        break;
    }
    return {{0, 0, 0, 0}, Palette::Mist};
}

void CloseButton(Canvas& canvas, const CloseLook& look, double crossSize)
{
    const double centre = canvas.Width() / 2.0;
    const double half = crossSize / 2;
    canvas.FillCircle(centre, centre, centre, look.disc);
    cairo_t* cr = canvas.Cr();
    canvas.Pen(look.cross, 1.5);
    cairo_move_to(cr, centre - half, centre - half);
    cairo_line_to(cr, centre + half, centre + half);
    cairo_move_to(cr, centre + half, centre - half);
    cairo_line_to(cr, centre - half, centre + half);
    cairo_stroke(cr);
}

void PaintCloseButtons(ArtOutput& output)
{
    for (ButtonState state : kAllButtonStates) {
        Canvas large(24, 24);
        CloseButton(large, DialogCloseLook(state), 9);
        output.Save(large, StateImageName("res/common/closebtnM_", state));
    }
    // The plain message box has no disabled close image.
    for (ButtonState state : {ButtonState::Normal, ButtonState::Hot, ButtonState::Pushed}) {
        Canvas small(15, 15);
        CloseButton(small, DialogCloseLook(state), 7);
        output.Save(small, StateImageName("res/MessageBoxWnd/closeBtn", state));
    }
}

void IconDisc(Canvas& canvas, const Colour& light, const Colour& dark)
{
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, 40);
    cairo_pattern_add_color_stop_rgb(gradient, 0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, dark.r, dark.g, dark.b);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 20, 20, 19, 0, 2 * M_PI);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void PaintWarningIcon(ArtOutput& output)
{
    Canvas icon(40, 40);
    IconDisc(icon, Colour::Rgb(0xFFB547), Colour::Rgb(0xFF8A1F));
    icon.Exclamation(20, 9, 15, 4, Palette::White);
    output.Save(icon, "res/MessageBoxWnd/icoWarn.png");
}

void PaintNetworkIcon(ArtOutput& output)
{
    Canvas icon(40, 40);
    IconDisc(icon, Palette::BrandLight, Palette::Brand);
    cairo_t* cr = icon.Cr();
    icon.Pen(Palette::White, 2.6);
    const double cx = 20, cy = 27;
    for (double radius : {15.0, 10.0, 5.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx, cy, radius, -M_PI * 0.75, -M_PI * 0.25);
        cairo_stroke(cr);
    }
    icon.FillCircle(cx, cy, 2.2, Palette::White);
    // A small amber badge says the connection is poor.
    icon.FillCircle(30, 29, 7.5, Palette::White);
    icon.FillCircle(30, 29, 6, Palette::Amber);
    icon.Exclamation(30, 24.5, 5, 2, Palette::White);
    output.Save(icon, "res/MessageBoxWnd/icoNetwork.png");
}

void PaintQuestionIcon(ArtOutput& output)
{
    Canvas icon(40, 40);
    IconDisc(icon, Palette::BrandLight, Palette::Brand);
    cairo_t* cr = icon.Cr();
    icon.Pen(Palette::White, 3.2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 20, 15.5, 5.5, -M_PI, M_PI * 0.25);
    cairo_line_to(cr, 20, 21);
    cairo_line_to(cr, 20, 23.5);
    cairo_stroke(cr);
    icon.FillCircle(20, 29.5, 2.2, Palette::White);
    output.Save(icon, "res/MessageBoxWnd/icoQuest.png");
}

}  // namespace

void PaintDialogArt(ArtOutput& output)
{
    PaintCloseButtons(output);
    PaintWarningIcon(output);
    PaintNetworkIcon(output);
    PaintQuestionIcon(output);
}

}  // namespace SkinArt
