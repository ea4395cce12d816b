#pragma once

#include "skin/art/ArtOutput.h"

#include <string>

namespace SkinArt {

// Every image of "mainWnd.xml" under res/mainWnd and res/common.
void PaintMainWindowArt(ArtOutput& output);

// The window icon, written outside the skin tree.
void PaintWindowIcon(ArtOutput& output, const std::string& path);

}  // namespace SkinArt
