#pragma once

#include "platform/Geometry.h"

namespace SkinUI {

// The framework measures in client pixels with the platform's records.
using UIPoint = Platform::Point;
using UISize = Platform::Size;
using UIRect = Platform::Rect;

} // namespace SkinUI
