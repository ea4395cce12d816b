#include "skin/art/WindowArt.h"

#include "skin/art/BrandMark.h"
#include "skin/art/ButtonState.h"
#include "skin/art/Palette.h"

#include <algorithm>
#include <cmath>

namespace SkinArt {

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kTitleHeight = 35;
// Page 2 keeps its illustration above this line and its progress text and bar below it.
constexpr int kProgressBandTop = 332;
const std::string kProductName = "NuvaloPDF转换器";

// The blue field behind the title bar and the dark pages; always laid out for the whole
// window so that every page's title band matches to the pixel.
void BrandField(Canvas& canvas)
{
    cairo_t* cr = canvas.Cr();
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, kWidth * 0.55, kHeight);
    cairo_pattern_add_color_stop_rgb(gradient, 0, Palette::BrandDeep.r, Palette::BrandDeep.g, Palette::BrandDeep.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, Palette::Brand.r, Palette::Brand.g, Palette::Brand.b);
    cairo_rectangle(cr, 0, 0, kWidth, kHeight);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);

    canvas.FillCircle(540, -30, 190, Palette::White.WithAlpha(0.05));
    canvas.FillCircle(560, -10, 120, Palette::White.WithAlpha(0.04));
    canvas.FillCircle(30, 430, 170, Palette::White.WithAlpha(0.045));
    cairo_new_sub_path(cr);
    cairo_arc(cr, 500, 360, 130, 0, 2 * M_PI);
    canvas.Pen(Palette::White.WithAlpha(0.07), 1);
    cairo_stroke(cr);
}

void TitleBrand(Canvas& canvas)
{
    DrawBrandMark(canvas, 12, 9, 18, true);
    canvas.Text(kProductName, {13, false, Palette::White.WithAlpha(0.92)}, 37, 0, 200, kTitleHeight, Align::Left);
}

void LowerBandWhite(Canvas& canvas, int top)
{
    cairo_rectangle(canvas.Cr(), 0, top, kWidth, kHeight - top);
    canvas.SetColour(Palette::White);
    cairo_fill(canvas.Cr());
}

void DocumentCard(Canvas& canvas, double x, double y, const std::string& badge, const Colour& badgeColour)
{
    constexpr double w = 104, h = 132;
    canvas.SoftShadow(x, y + 6, w, h, 10, Palette::BrandNight.WithAlpha(0.35), 10);
    canvas.FillRoundedRect(x, y, w, h, 10, Palette::White);
    for (int line = 0; line < 4; ++line) {
        const double length = line == 3 ? 40 : 68;
        canvas.FillRoundedRect(x + 18, y + 24 + line * 14, length, 5, 2.5, Palette::Track);
    }
    canvas.FillRoundedRect(x + 18, y + 90, 50, 22, 5, badgeColour);
    canvas.Text(badge, {13, true, Palette::White}, x + 18, y + 90, 50, 22);
}

void ConversionBadge(Canvas& canvas, double cx, double cy)
{
    canvas.FillCircle(cx, cy, 34, Palette::White.WithAlpha(0.12));
    canvas.FillCircle(cx, cy, 24, Palette::White);
    cairo_t* cr = canvas.Cr();
    canvas.Pen(Palette::Brand, 3);
    cairo_move_to(cr, cx - 9, cy);
    cairo_line_to(cr, cx + 9, cy);
    cairo_move_to(cr, cx + 3, cy - 6);
    cairo_line_to(cr, cx + 9, cy);
    cairo_line_to(cr, cx + 3, cy + 6);
    cairo_stroke(cr);
}

void PaintBackgrounds(ArtOutput& output)
{
    {
        Canvas welcome(kWidth, kHeight);
        BrandField(welcome);
        TitleBrand(welcome);
        output.Save(welcome, "res/mainWnd/bg1.png");
    }
    {
        Canvas options(kWidth, kHeight);
        BrandField(options);
        LowerBandWhite(options, kTitleHeight);
        output.Save(options, "res/mainWnd/bg2.png");
    }
    {
        Canvas progress(kWidth, kHeight);
        BrandField(progress);
        LowerBandWhite(progress, kProgressBandTop);
        TitleBrand(progress);
        DocumentCard(progress, 168, 112, "DOC", Palette::BrandLight);
        DocumentCard(progress, 328, 112, "PDF", Palette::Brand);
        ConversionBadge(progress, 300, 178);
        progress.Text("文档格式，一键转换", {14, false, Palette::White.WithAlpha(0.85)}, 0, 262, kWidth, 24);
        output.Save(progress, "res/mainWnd/bg3.png");
    }
    {
        Canvas finished(kWidth, kHeight);
        BrandField(finished);
        TitleBrand(finished);
        output.Save(finished, "res/mainWnd/bg4.png");
    }
}

void PaintLogo(ArtOutput& output, const std::string& name, bool onDark)
{
    Canvas logo(370, 58);
    const TextStyle title{26, true, onDark ? Palette::White : Palette::Ink};
    const TextStyle tagline{13, false, onDark ? Palette::White.WithAlpha(0.72) : Palette::Mist};
    const std::string taglineText = "高效、精准的 PDF 格式转换工具";
    constexpr double markSize = 50;
    constexpr double gap = 14;
    const double textWidth = std::max(logo.TextWidth(kProductName, title), logo.TextWidth(taglineText, tagline));
    const double left = std::round((370 - markSize - gap - textWidth) / 2);

    DrawBrandMark(logo, left, 4, markSize, onDark);
    logo.Text(kProductName, title, left + markSize + gap, 2, textWidth, 34, Align::Left);
    logo.Text(taglineText, tagline, left + markSize + gap, 36, textWidth, 18, Align::Left);
    output.Save(logo, "res/mainWnd/" + name);
}

void DownloadGlyph(Canvas& canvas, double cx, double cy, const Colour& colour)
{
    cairo_t* cr = canvas.Cr();
    canvas.Pen(colour, 2.4);
    cairo_move_to(cr, cx, cy - 9);
    cairo_line_to(cr, cx, cy + 3);
    cairo_move_to(cr, cx - 5.5, cy - 2.5);
    cairo_line_to(cr, cx, cy + 3);
    cairo_line_to(cr, cx + 5.5, cy - 2.5);
    cairo_move_to(cr, cx - 9, cy + 4);
    cairo_line_to(cr, cx - 9, cy + 9);
    cairo_line_to(cr, cx + 9, cy + 9);
    cairo_line_to(cr, cx + 9, cy + 4);
    cairo_stroke(cr);
}

struct PillLook {
    Colour top;
    Colour bottom;
    Colour text;
    Colour shadow;
    double drop = 0;
};

// A large pill-shaped call to action centred in a w x h image, its shadow inside the image.
void Pill(Canvas& canvas, double pillW, double pillH, const PillLook& look, const std::string& caption,
          double captionPixels, bool withGlyph)
{
    const double x = std::round((canvas.Width() - pillW) / 2);
    const double y = std::round((canvas.Height() - pillH) / 2) - 3 + look.drop;
    const double radius = pillH / 2;
    if (look.shadow.a > 0)
        canvas.SoftShadow(x + 4, y + 7, pillW - 8, pillH - 6, radius, look.shadow, 8);
    canvas.FillRoundedRectGradient(x, y, pillW, pillH, radius, look.top, look.bottom);

    const TextStyle style{captionPixels, true, look.text};
    if (!withGlyph) {
        canvas.Text(caption, style, x, y, pillW, pillH);
        return;
    }
    constexpr double glyphWidth = 20, glyphGap = 10;
    const double textWidth = canvas.TextWidth(caption, style);
    const double start = std::round(x + (pillW - glyphWidth - glyphGap - textWidth) / 2);
    DownloadGlyph(canvas, start + glyphWidth / 2, y + pillH / 2, look.text);
    canvas.Text(caption, style, start + glyphWidth + glyphGap, y, textWidth, pillH, Align::Left);
}

void PaintInstallButtons(ArtOutput& output)
{
    {
        Canvas quick(230, 75);
        Pill(quick, 206, 54, {Palette::White, Colour::Rgb(0xE6F0FF), Palette::Brand, Palette::BrandNight.WithAlpha(0.55)},
             "快速安装", 22, true);
        output.Save(quick, "res/mainWnd/000.png");
    }
    {
        Canvas custom(230, 75);
        Pill(custom, 206, 54, {Colour::Rgb(0x3C8DFF), Palette::Brand, Palette::White, Palette::Brand.WithAlpha(0.55)},
             "立即安装", 22, true);
        output.Save(custom, "res/mainWnd/001.png");
    }
}

PillLook OpenButtonLook(ButtonState state)
{
    const Colour shadow = Palette::BrandNight.WithAlpha(0.5);
    switch (state) {
    case ButtonState::Hot:
        return {Palette::White, Palette::Haze, Palette::BrandLight, shadow.WithAlpha(0.7)};
    case ButtonState::Pushed:
        return {Palette::HazeDeep, Colour::Rgb(0xCFE2FF), Palette::BrandPressed, shadow.WithAlpha(0.3), 1};
    case ButtonState::Disabled:
        return {Palette::White.WithAlpha(0.35), Palette::White.WithAlpha(0.3), Palette::White.WithAlpha(0.75), {0, 0, 0, 0}};
    case ButtonState::Normal:
        break;
    }
    return {Palette::White, Colour::Rgb(0xE6F0FF), Palette::Brand, shadow};
}

void PaintOpenButton(ArtOutput& output)
{
    for (ButtonState state : kAllButtonStates) {
        Canvas button(219, 65);
        Pill(button, 190, 46, OpenButtonLook(state), "立即体验", 20, false);
        output.Save(button, StateImageName("res/mainWnd/openProduceBtn", state));
    }
}

// Text buttons on the blue field: full white when hot, dimmer when pushed or disabled.
Colour OnDarkTextColour(ButtonState state, const Colour& normal)
{
    switch (state) {
    case ButtonState::Hot:
        return Palette::White;
    case ButtonState::Pushed:
        return Palette::Sky;
    case ButtonState::Disabled:
        return normal.WithAlpha(0.4);
    case ButtonState::Normal:
        break;
    }
    return normal;
}

void Chevron(Canvas& canvas, double cx, double cy, double size, bool pointsLeft, const Colour& colour)
{
    cairo_t* cr = canvas.Cr();
    const double direction = pointsLeft ? -1 : 1;
    canvas.Pen(colour, 1.5);
    cairo_move_to(cr, cx - direction * size / 2, cy - size);
    cairo_line_to(cr, cx + direction * size / 2, cy);
    cairo_line_to(cr, cx - direction * size / 2, cy + size);
    cairo_stroke(cr);
}

void PaintLinkButtons(ArtOutput& output)
{
    for (ButtonState state : kAllButtonStates) {
        const Colour colour = OnDarkTextColour(state, Palette::White.WithAlpha(0.88));
        Canvas back(50, 15);
        Chevron(back, 4, 7.5, 4, true, colour);
        back.Text("返回", {13, false, colour, state == ButtonState::Hot}, 11, 0, 39, 15, Align::Left);
        output.Save(back, StateImageName("res/mainWnd/backBtn", state));
    }
    for (ButtonState state : kAllButtonStates) {
        const Colour colour = OnDarkTextColour(state, Palette::SkyPale);
        Canvas custom(87, 16);
        Chevron(custom, 83, 8, 3.5, false, colour);
        custom.Text("自定义安装", {13, false, colour, state == ButtonState::Hot}, 0, 0, 77, 16, Align::Right);
        output.Save(custom, StateImageName("res/mainWnd/customeBtn", state));
    }
}

// Glyph opacity and hover disc of the title-bar buttons on the blue field.
struct TitleButtonLook {
    double glyphAlpha;
    double discAlpha;
};

TitleButtonLook TitleLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Hot:
        return {1.0, 0.2};
    case ButtonState::Pushed:
        return {0.9, 0.32};
    case ButtonState::Disabled:
        return {0.35, 0};
    case ButtonState::Normal:
        break;
    }
    return {0.85, 0};
}

void PaintTitleButtons(ArtOutput& output)
{
    for (ButtonState state : kAllButtonStates) {
        const TitleButtonLook look = TitleLook(state);
        Canvas minimise(15, 15);
        minimise.FillCircle(7.5, 7.5, 7.5, Palette::White.WithAlpha(look.discAlpha));
        cairo_rectangle(minimise.Cr(), 3, 7, 9, 1.5);
        minimise.SetColour(Palette::White.WithAlpha(look.glyphAlpha));
        cairo_fill(minimise.Cr());
        output.Save(minimise, StateImageName("res/common/minbtn", state));

        Canvas close(15, 15);
        close.FillCircle(7.5, 7.5, 7.5, Palette::White.WithAlpha(look.discAlpha));
        cairo_t* cr = close.Cr();
        close.Pen(Palette::White.WithAlpha(look.glyphAlpha), 1.5);
        cairo_move_to(cr, 4, 4);
        cairo_line_to(cr, 11, 11);
        cairo_move_to(cr, 11, 4);
        cairo_line_to(cr, 4, 11);
        cairo_stroke(cr);
        output.Save(close, StateImageName("res/common/closebtn", state));
    }
}

void Tick(Canvas& canvas, const Colour& colour)
{
    cairo_t* cr = canvas.Cr();
    canvas.Pen(colour, 1.8);
    cairo_move_to(cr, 5.5, 9.2);
    cairo_line_to(cr, 8.0, 11.7);
    cairo_line_to(cr, 12.6, 6.6);
    cairo_stroke(cr);
}

void PaintCheckBox(ArtOutput& output, const std::string& stem, bool onDark)
{
    Canvas unchecked(18, 18);
    if (onDark) {
        unchecked.FillRoundedRect(2, 2, 14, 14, 3, Palette::White.WithAlpha(0.1));
        unchecked.StrokeRoundedRect(2.5, 2.5, 13, 13, 2.5, Palette::White.WithAlpha(0.85));
    } else {
        unchecked.FillRoundedRect(2, 2, 14, 14, 3, Palette::White);
        unchecked.StrokeRoundedRect(2.5, 2.5, 13, 13, 2.5, Colour::Rgb(0xB8C2D1));
    }
    output.Save(unchecked, "res/mainWnd/" + stem + "1.png");

    Canvas checked(18, 18);
    checked.FillRoundedRect(2, 2, 14, 14, 3, onDark ? Palette::White : Palette::Brand);
    Tick(checked, onDark ? Palette::Brand : Palette::White);
    output.Save(checked, "res/mainWnd/" + stem + "2.png");
}

void FolderGlyph(Canvas& canvas, double x, double y, const Colour& colour)
{
    cairo_t* cr = canvas.Cr();
    canvas.Pen(colour, 1.3);
    cairo_move_to(cr, x + 0.5, y + 1.5);
    cairo_line_to(cr, x + 5.5, y + 1.5);
    cairo_line_to(cr, x + 7, y + 3.5);
    cairo_line_to(cr, x + 14.5, y + 3.5);
    cairo_line_to(cr, x + 14.5, y + 12.5);
    cairo_line_to(cr, x + 0.5, y + 12.5);
    cairo_close_path(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 0.5, y + 5.5);
    cairo_line_to(cr, x + 14.5, y + 5.5);
    cairo_stroke(cr);
}

struct FieldButtonLook {
    Colour fill;
    Colour border;
    Colour text;
};

FieldButtonLook BrowseLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Hot:
        return {Palette::Haze, Palette::BrandLight, Palette::Brand};
    case ButtonState::Pushed:
        return {Palette::HazeDeep, Palette::BrandPressed, Palette::BrandPressed};
    case ButtonState::Disabled:
        return {Colour::Rgb(0xF5F7FA), Palette::Line, Palette::Disabled};
    case ButtonState::Normal:
        break;
    }
    return {Palette::White, Palette::Brand, Palette::Brand};
}

void PaintFolderField(ArtOutput& output)
{
    Canvas field(344, 40);
    field.FillRoundedRect(0, 0, 344, 40, 4, Palette::White);
    field.StrokeRoundedRect(0.5, 0.5, 343, 39, 4, Palette::Line);
    output.Save(field, "res/mainWnd/installDirEdit.png");

    for (ButtonState state : kAllButtonStates) {
        const FieldButtonLook look = BrowseLook(state);
        Canvas browse(84, 40);
        browse.FillRoundedRect(0, 0, 84, 40, 4, look.fill);
        browse.StrokeRoundedRect(0.5, 0.5, 83, 39, 4, look.border);
        FolderGlyph(browse, 17, 13, look.text);
        browse.Text("浏览", {14, false, look.text}, 38, 0, 40, 40, Align::Left);
        output.Save(browse, StateImageName("res/mainWnd/installDirEdit", state));
    }
}

void PaintAgreementTip(ArtOutput& output)
{
    // Points down at the agreement box below it (the box's centre is 18 px from its left).
    Canvas tip(124, 40);
    cairo_t* cr = tip.Cr();
    tip.RoundedRect(0, 0, 124, 33, 5);
    cairo_move_to(cr, 12, 33);
    cairo_line_to(cr, 18, 39.5);
    cairo_line_to(cr, 24, 33);
    cairo_close_path(cr);
    tip.SetColour(Palette::White);
    cairo_fill(cr);

    tip.FillCircle(14.5, 16.5, 6.5, Palette::Amber);
    tip.Exclamation(14.5, 12, 5.5, 1.5, Palette::White);
    tip.Text("请先同意许可协议", {12, false, Palette::Ink}, 25, 0, 96, 33, Align::Left);
    output.Save(tip, "res/mainWnd/tipLbl.png");
}

void PaintProgressBar(ArtOutput& output)
{
    const struct {
        const char* name;
        Colour colour;
    } bars[] = {
        {"res/mainWnd/installPrg1.png", Palette::Track},
        {"res/mainWnd/installPrg2.png", Palette::Brand},
        {"res/mainWnd/installPrg3.png", Palette::Success},
    };
    for (const auto& bar : bars) {
        Canvas image(20, 5);
        image.FillRoundedRect(0, 0, 20, 5, 2, bar.colour);
        output.Save(image, bar.name);
    }
}

}  // namespace

void PaintMainWindowArt(ArtOutput& output)
{
    PaintBackgrounds(output);
    PaintLogo(output, "logo1.png", true);
    PaintLogo(output, "logo2.png", false);
    PaintInstallButtons(output);
    PaintOpenButton(output);
    PaintLinkButtons(output);
    PaintTitleButtons(output);
    PaintCheckBox(output, "treatyCb", true);
    PaintCheckBox(output, "Cb", false);
    PaintFolderField(output);
    PaintAgreementTip(output);
    PaintProgressBar(output);
}

void PaintWindowIcon(ArtOutput& output, const std::string& path)
{
    Canvas icon(64, 64);
    DrawBrandMark(icon, 2, 2, 60, false);
    output.SaveAt(icon, path);
}

}  // namespace SkinArt
