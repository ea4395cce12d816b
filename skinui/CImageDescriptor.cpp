#include "skinui/CImageDescriptor.h"

#include "skinui/AttributeValue.h"
#include "skinui/CImageLoader.h"
#include "skinui/CManagerUI.h"

#include <algorithm>

namespace SkinUI {

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

void SkipBlanks(std::string_view text, size_t& pos)
{
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
}

// Reads key='value' at `pos`; false when the text does not hold a complete pair there.
bool ReadPair(std::string_view text, size_t& pos, std::string_view& key, std::string_view& value)
{
    SkipBlanks(text, pos);
    const size_t keyStart = pos;
    while (pos < text.size() && text[pos] != '=' && !IsBlank(text[pos])) {
        ++pos;
    }
    key = text.substr(keyStart, pos - keyStart);
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '=') {
        return false;
    }
    ++pos;
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '\'') {
        return false;
    }
    const size_t valueStart = ++pos;
    const size_t closing = text.find('\'', valueStart);
    if (closing == std::string_view::npos) {
        return false;
    }
    value = text.substr(valueStart, closing - valueStart);
    pos = closing + 1;
    return true;
}

void ApplyPair(CImageDescriptor::Parsed& parsed, std::string_view key, std::string_view value)
{
    if (key == "file" || key == "res") {
        parsed.file = value;
    } else if (key == "restype") {
        parsed.resType = value;
    } else if (key == "color") {
        parsed.file = value;
        parsed.resType = CImageLoader::kColorType;
    } else if (key == "dest") {
        parsed.hasDest = true;
        parsed.dest = ParseRect(value);
    } else if (key == "source") {
        parsed.hasSource = true;
        parsed.source = ParseRect(value);
    } else if (key == "corner" || key == "scale9") {
        parsed.corner = ParseRect(value);
    } else if (key == "mask") {
        parsed.mask = ParseColor(value);
    } else if (key == "fade") {
        parsed.fade = static_cast<uint8_t>(std::clamp(ParseInt(value), 0, 255));
    } else if (key == "hole") {
        parsed.hole = ParseBool(value);
    } else if (key == "xtiled") {
        parsed.xTiled = ParseBool(value);
    } else if (key == "ytiled") {
        parsed.yTiled = ParseBool(value);
    } else if (key == "hsl") {
        parsed.hsl = ParseBool(value);
    }
}

} // namespace

CImageDescriptor::CImageDescriptor(std::string_view value) : value_(value) {}

void CImageDescriptor::Set(std::string_view value)
{
    if (value == value_) {
        return;
    }
    value_ = value;
    parsed_ = Parsed{};
    isParsed_ = false;
    loadTried_ = false;
    image_ = nullptr;
}

CImageDescriptor::Parsed CImageDescriptor::Parse(std::string_view value)
{
    Parsed parsed;
    if (value.find('=') == std::string_view::npos) {
        parsed.file = value;
        return parsed;
    }
    size_t pos = 0;
    std::string_view key;
    std::string_view pairValue;
    while (ReadPair(value, pos, key, pairValue)) {
        if (!pairValue.empty()) {
            ApplyPair(parsed, key, pairValue);
        }
        // Only a space after the closing quote leads to another pair.
        if (pos >= value.size() || value[pos] != ' ') {
            break;
        }
    }
    return parsed;
}

const CImageDescriptor::Parsed& CImageDescriptor::Info()
{
    if (!isParsed_) {
        parsed_ = Parse(value_);
        isParsed_ = true;
    }
    return parsed_;
}

const TImageEntry* CImageDescriptor::Load(CManagerUI& manager)
{
    if (!loadTried_) {
        loadTried_ = true;
        const Parsed& info = Info();
        if (!info.file.empty()) {
            image_ = manager.GetImageEx(info.file, info.resType, info.mask, info.hsl);
        }
    }
    return image_;
}

} // namespace SkinUI
