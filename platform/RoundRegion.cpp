#include "platform/RoundRegion.h"

#include <algorithm>
#include <cmath>

namespace Platform {

namespace {

// How far the rounded edge stands in from the side on row y (0 = straight).
int RowInset(int y, int height, double rx, double ry)
{
    const double centre = y + 0.5;
    double dy = 0;
    if (centre < ry) dy = ry - centre;
    else if (centre > height - ry) dy = centre - (height - ry);
    if (dy <= 0) return 0;
    const double t = std::min(1.0, dy / ry);
    return static_cast<int>(std::lround(rx - rx * std::sqrt(1.0 - t * t)));
}

}  // namespace

std::vector<Rect> RoundRegionSpans(int width, int height, Size ellipse)
{
    std::vector<Rect> spans;
    if (width <= 0 || height <= 0) return spans;
    const double rx = std::clamp(ellipse.cx, 0, width) / 2.0;
    const double ry = std::clamp(ellipse.cy, 0, height) / 2.0;
    for (int y = 0; y < height; ++y) {
        const int inset = (rx > 0 && ry > 0) ? RowInset(y, height, rx, ry) : 0;
        const Rect row{inset, y, width - inset, y + 1};
        if (row.IsEmpty()) continue;
        if (!spans.empty() && spans.back().left == row.left && spans.back().right == row.right &&
            spans.back().bottom == y) {
            spans.back().bottom = y + 1;
        } else {
            spans.push_back(row);
        }
    }
    return spans;
}

}  // namespace Platform
