#pragma once

#include "skinui/UIGeometry.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace SkinUI {

// The attribute value forms of the markup. Malformed or missing numbers read as 0; nothing
// reads beyond the end of the value.

// Decimal with optional sign after leading blanks; stops at the first non-digit; saturates.
int ParseInt(std::string_view value);
// "cx,cy": one separator character between the numbers.
UISize ParseSize(std::string_view value);
// "l,t,r,b": exactly one separator character between the numbers.
UIRect ParseRect(std::string_view value);
// "#AARRGGBB", "0xAARRGGBB" or the digits alone; "#FFFFFF" has alpha 0.
uint32_t ParseColor(std::string_view value);
// `count` decimal fractions separated by one character each (missing ones read 0).
std::vector<double> ParseDoubles(std::string_view value, size_t count);
// True only for the exact text "true".
bool ParseBool(std::string_view value);

} // namespace SkinUI
