#pragma once

#include "skin/art/Colour.h"

// One palette for every image, matching the colours the skin files give their texts and
// dialog buttons, so art and markup read as one design.
namespace SkinArt::Palette {

inline constexpr Colour Brand = Colour::Rgb(0x1675FE);
inline constexpr Colour BrandLight = Colour::Rgb(0x5A9DFD);
inline constexpr Colour BrandPressed = Colour::Rgb(0x1365DB);
inline constexpr Colour BrandDeep = Colour::Rgb(0x0B3F9E);
inline constexpr Colour BrandNight = Colour::Rgb(0x082C73);
inline constexpr Colour Sky = Colour::Rgb(0x66BDF5);
inline constexpr Colour SkyPale = Colour::Rgb(0xBBE4FF);
inline constexpr Colour White = Colour::Rgb(0xFFFFFF);
inline constexpr Colour Ink = Colour::Rgb(0x1E2125);
inline constexpr Colour Slate = Colour::Rgb(0x555C78);
inline constexpr Colour Mist = Colour::Rgb(0x8A93A6);
inline constexpr Colour Line = Colour::Rgb(0xD3DAE6);
inline constexpr Colour Track = Colour::Rgb(0xE4EAF3);
inline constexpr Colour Haze = Colour::Rgb(0xEEF5FF);
inline constexpr Colour HazeDeep = Colour::Rgb(0xDCEAFF);
inline constexpr Colour Disabled = Colour::Rgb(0xB4BCC8);
inline constexpr Colour Amber = Colour::Rgb(0xFF9A1F);
inline constexpr Colour Success = Colour::Rgb(0x22B573);

}  // namespace SkinArt::Palette
