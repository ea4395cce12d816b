#include "utils/Guid.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <sys/random.h>

namespace Utils {
namespace {

// Random bytes from the kernel; the standard random device only if the call is unavailable.
void FillRandom(uint8_t* bytes, std::size_t size) {
    std::size_t done = 0;
    for (int attempt = 0; done < size && attempt < 8; ++attempt) {
        const ssize_t n = ::getrandom(bytes + done, size - done, 0);
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    if (done == size) return;
    std::random_device device;
    for (; done < size; ++done) bytes[done] = static_cast<uint8_t>(device());
}

}  // namespace

std::string FormatGuidString(const Guid& g) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", unsigned(g.data1),
                  unsigned(g.data2), unsigned(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
                  g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

std::string NewGuidString() {
    uint8_t bytes[16];
    FillRandom(bytes, sizeof bytes);
    Guid guid;
    std::memcpy(&guid.data1, bytes, 4);
    std::memcpy(&guid.data2, bytes + 4, 2);
    std::memcpy(&guid.data3, bytes + 6, 2);
    std::memcpy(guid.data4, bytes + 8, 8);
    guid.data3 = static_cast<uint16_t>((guid.data3 & 0x0FFF) | 0x4000);  // version 4, random
    guid.data4[0] = static_cast<uint8_t>((guid.data4[0] & 0x3F) | 0x80);  // RFC 4122 variant
    return FormatGuidString(guid);
}

}  // namespace Utils
