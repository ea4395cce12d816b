#pragma once

#include "skin/art/Canvas.h"

namespace SkinArt {

// The product mark: a rounded tile holding a folded document with two conversion arrows.
// onDark draws a white tile with a blue document for blue backgrounds.
void DrawBrandMark(Canvas& canvas, double x, double y, double size, bool onDark);

}  // namespace SkinArt
