#pragma once

#include "skinui/TImageEntry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace SkinUI {

// Turns image names and bytes into premultiplied bitmaps.
class CImageLoader {
public:
    static constexpr const char* kColorType = "*COLOR*";

    // type "*COLOR*": name is AARRGGBB (optional "#"); another type: the linked
    // resource (name, type); no type: the skin, then name as a file path.
    // nullptr when nothing can be read or decoded.
    static std::unique_ptr<TImageEntry> Load(const std::string& name, const std::string& type, uint32_t mask);
    // PNG (or JPEG, BMP) bytes.
    static std::unique_ptr<TImageEntry> Decode(std::string_view bytes, uint32_t mask);
    // A 1x1 image of the colour 0xAARRGGBB.
    static std::unique_ptr<TImageEntry> FromColor(uint32_t argb, uint32_t mask);
};

}  // namespace SkinUI
