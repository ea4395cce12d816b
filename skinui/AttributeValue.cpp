#include "skinui/AttributeValue.h"

#include <charconv>
#include <climits>
#include <cstdint>

namespace SkinUI {

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v';
}

// Reads one decimal integer like strtol at `pos` and moves `pos` past it (or leaves it where
// it was when no digits follow).
int ReadInt(std::string_view value, size_t& pos)
{
    size_t at = pos;
    while (at < value.size() && IsBlank(value[at])) {
        ++at;
    }
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
        negative = value[at] == '-';
        ++at;
    }
    const size_t digitsStart = at;
    int64_t magnitude = 0;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') {
        if (magnitude <= int64_t{INT_MAX} + 1) {
            magnitude = magnitude * 10 + (value[at] - '0');
        }
        ++at;
    }
    if (at == digitsStart) {
        return 0;
    }
    pos = at;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) {
        return INT_MAX;
    }
    if (signedValue < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(signedValue);
}

// Skips the one separator before the next number; false at the end of the value.
bool SkipSeparator(std::string_view value, size_t& pos)
{
    if (pos >= value.size()) {
        return false;
    }
    ++pos;
    return true;
}

int ReadNextInt(std::string_view value, size_t& pos)
{
    return SkipSeparator(value, pos) ? ReadInt(value, pos) : 0;
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

} // namespace

int ParseInt(std::string_view value)
{
    size_t pos = 0;
    return ReadInt(value, pos);
}

UISize ParseSize(std::string_view value)
{
    size_t pos = 0;
    UISize size;
    size.cx = ReadInt(value, pos);
    size.cy = ReadNextInt(value, pos);
    return size;
}

UIRect ParseRect(std::string_view value)
{
    size_t pos = 0;
    UIRect rect;
    rect.left = ReadInt(value, pos);
    rect.top = ReadNextInt(value, pos);
    rect.right = ReadNextInt(value, pos);
    rect.bottom = ReadNextInt(value, pos);
    return rect;
}

uint32_t ParseColor(std::string_view value)
{
    if (!value.empty() && value.front() == '#') {
        value.remove_prefix(1);
    }
    while (!value.empty() && IsBlank(value.front())) {
        value.remove_prefix(1);
    }
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X') && HexDigit(value[2]) >= 0) {
        value.remove_prefix(2);
    }
    // Extra digits beyond eight keep the low 32 bits, as a 32-bit store of the value would.
    uint32_t color = 0;
    for (char ch : value) {
        const int digit = HexDigit(ch);
        if (digit < 0) {
            break;
        }
        color = (color << 4) | static_cast<uint32_t>(digit);
    }
    return color;
}

std::vector<double> ParseDoubles(std::string_view value, size_t count)
{
    std::vector<double> numbers(count, 0.0);
    size_t pos = 0;
    for (size_t index = 0; index < count; ++index) {
        if (index > 0 && !SkipSeparator(value, pos)) {
            break;
        }
        while (pos < value.size() && IsBlank(value[pos])) {
            ++pos;
        }
        if (pos < value.size() && value[pos] == '+') {
            ++pos;
        }
        const auto [end, error] = std::from_chars(value.data() + pos, value.data() + value.size(), numbers[index]);
        if (error != std::errc()) {
            numbers[index] = 0.0;
        } else {
            pos = static_cast<size_t>(end - value.data());
        }
    }
    return numbers;
}

bool ParseBool(std::string_view value)
{
    return value == "true";
}

} // namespace SkinUI
