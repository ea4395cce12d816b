#pragma once

#include "platform/Geometry.h"

#include <vector>

namespace Platform {

// The rows of a rounded rectangle from (0,0) to (width,height) with corner
// ellipse cx x cy, as one rectangle per run of rows of equal extent; the
// window's bounding shape is built from them.
std::vector<Rect> RoundRegionSpans(int width, int height, Size ellipse);

}  // namespace Platform
