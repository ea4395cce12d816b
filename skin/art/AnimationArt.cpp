#include "skin/art/AnimationArt.h"

#include "skin/art/Palette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace SkinArt {

namespace {

constexpr int kFrameSize = 70;
constexpr double kCentre = kFrameSize / 2.0;

std::string FrameName(const char* folder, int index)
{
    char name[64];
    std::snprintf(name, sizeof name, "res/mainWnd/%s/%03d.png", folder, index);
    return name;
}

// 0 before start, 1 after end, eased in between.
double Phase(int frame, int start, int end)
{
    const double t = std::clamp(static_cast<double>(frame - start) / (end - start), 0.0, 1.0);
    return 1 - (1 - t) * (1 - t) * (1 - t);
}

void CheckStroke(cairo_t* cr, double progress)
{
    // The tick as two legs; progress runs along both in turn.
    const double ax = 22, ay = 36, bx = 31, by = 45, cx = 49, cy = 26;
    const double first = std::hypot(bx - ax, by - ay);
    const double second = std::hypot(cx - bx, cy - by);
    const double along = progress * (first + second);
    cairo_move_to(cr, ax, ay);
    if (along <= first) {
        cairo_line_to(cr, ax + (bx - ax) * along / first, ay + (by - ay) * along / first);
    } else {
        const double rest = (along - first) / second;
        cairo_line_to(cr, bx, by);
        cairo_line_to(cr, bx + (cx - bx) * rest, by + (cy - by) * rest);
    }
    cairo_stroke(cr);
}

void PaintFinishedFrame(Canvas& canvas, int frame)
{
    cairo_t* cr = canvas.Cr();
    // The ring starts one step early so that the first frame already shows its tip.
    const double ring = Phase(frame, -1, 16);
    const double disc = Phase(frame, 8, 22);
    const double tick = Phase(frame, 14, 28);

    canvas.FillCircle(kCentre, kCentre, 31 * disc, Palette::White.WithAlpha(0.16 * disc));

    if (ring > 0) {
        canvas.Pen(Palette::White, 3);
        cairo_new_sub_path(cr);
        cairo_arc(cr, kCentre, kCentre, 31, -M_PI / 2, -M_PI / 2 + 2 * M_PI * ring);
        cairo_stroke(cr);
    }
    if (tick > 0) {
        // A short swell once the tick is complete settles on the last frames.
        const double swell = frame >= 28 ? 0.6 * std::sin(M_PI * std::min(1.0, (frame - 28) / 5.0)) : 0;
        canvas.Pen(Palette::White, 4.5 + swell);
        CheckStroke(cr, tick);
    }
}

void PaintProgressFrame(Canvas& canvas, int frame)
{
    // One seamless loop: three turns of the head while the arc grows and shrinks three times.
    cairo_t* cr = canvas.Cr();
    const double turn = 2 * M_PI * 3 * frame / kProgressFrameCount;
    const double wave = 0.5 - 0.5 * std::cos(2 * M_PI * 3 * frame / kProgressFrameCount);
    const double length = M_PI * (0.25 + 1.1 * wave);

    canvas.Pen(Palette::White.WithAlpha(0.18), 5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCentre, kCentre, 28, 0, 2 * M_PI);
    cairo_stroke(cr);

    canvas.Pen(Palette::White, 5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCentre, kCentre, 28, turn - M_PI / 2, turn - M_PI / 2 + length);
    cairo_stroke(cr);
}

}  // namespace

void PaintAnimations(ArtOutput& output)
{
    for (int frame = 0; frame < kFinishedFrameCount; ++frame) {
        Canvas canvas(kFrameSize, kFrameSize);
        PaintFinishedFrame(canvas, frame);
        output.Save(canvas, FrameName("finishedAnimate", frame));
    }
    for (int frame = 0; frame < kProgressFrameCount; ++frame) {
        Canvas canvas(kFrameSize, kFrameSize);
        PaintProgressFrame(canvas, frame);
        output.Save(canvas, FrameName("progressAnimate", frame));
    }
}

}  // namespace SkinArt
