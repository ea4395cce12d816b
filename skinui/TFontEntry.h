#pragma once

#include <pango/pango.h>

#include <cstdint>
#include <string>

namespace SkinUI {

// Text metrics of a font in pixels.
struct TFontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int aveCharWidth = 0;
};

// One font of a skin, as a Pango font description.
struct TFontEntry {
    TFontEntry() = default;
    ~TFontEntry();
    TFontEntry(const TFontEntry&) = delete;
    TFontEntry& operator=(const TFontEntry&) = delete;

    // Measured on first use.
    const TFontMetrics& Metrics() const;

    PangoFontDescription* font = nullptr;
    // At most 31 characters.
    std::string face;
    // Character height in pixels.
    int32_t size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;

private:
    mutable TFontMetrics metrics_;
    mutable bool measured_ = false;
};

}  // namespace SkinUI
