#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace SkinUI {

class CManagerUI;
struct TImageEntry;

// One image attribute value: a plain image name or key='value' pairs. The value is parsed and
// the image fetched from the manager the first time it is drawn; a failed load is remembered
// until a different value is set.
class CImageDescriptor {
public:
    struct Parsed {
        std::string file;
        std::string resType;
        uint32_t mask = 0;
        bool hasDest = false;
        UIRect dest;
        bool hasSource = false;
        UIRect source;
        UIRect corner;
        uint8_t fade = 255;
        bool hole = false;
        bool xTiled = false;
        bool yTiled = false;
        bool hsl = false;
    };

    CImageDescriptor() = default;
    explicit CImageDescriptor(std::string_view value);

    const std::string& Value() const { return value_; }
    // Keeps the loaded state when the value is unchanged.
    void Set(std::string_view value);
    bool IsEmpty() const { return value_.empty(); }

    // Parses (once) and fetches the image (once); nullptr when it cannot be loaded.
    const TImageEntry* Load(CManagerUI& manager);
    const Parsed& Info();

    static Parsed Parse(std::string_view value);

private:
    std::string value_;
    Parsed parsed_;
    bool isParsed_ = false;
    bool loadTried_ = false;
    const TImageEntry* image_ = nullptr;
};

} // namespace SkinUI
