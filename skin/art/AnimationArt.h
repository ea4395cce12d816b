#pragma once

#include "skin/art/ArtOutput.h"

namespace SkinArt {

inline constexpr int kFinishedFrameCount = 34;
inline constexpr int kProgressFrameCount = 99;

// The finish page's check-mark animation (res/mainWnd/finishedAnimate/000.png ...) and the
// progress animation (res/mainWnd/progressAnimate/000.png ...).
void PaintAnimations(ArtOutput& output);

}  // namespace SkinArt
