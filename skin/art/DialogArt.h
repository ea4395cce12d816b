#pragma once

#include "skin/art/ArtOutput.h"

namespace SkinArt {

// The dialogs' close buttons and icons under res/common and res/MessageBoxWnd.
void PaintDialogArt(ArtOutput& output);

}  // namespace SkinArt
