#pragma once

#include <cstdint>
#include <string>

namespace Utils {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// A new random GUID as 32 hexadecimal characters.
std::string NewGuidString();
// 32 hexadecimal characters; the third group in lower case, the others in upper case.
std::string FormatGuidString(const Guid& guid);

}  // namespace Utils
