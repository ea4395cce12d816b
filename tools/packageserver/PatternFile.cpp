#include "tools/packageserver/PatternFile.h"

#include <algorithm>
#include <fstream>
#include <vector>

bool WritePatternFile(const std::string& path, int64_t size, uint32_t seed) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<uint32_t> block(1 << 16);
    uint32_t state = seed * 2654435761u + 1;
    for (int64_t written = 0; written < size && out;) {
        for (auto& word : block) {  // xorshift32
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            word = state;
        }
        const int64_t bytes = std::min<int64_t>(size - written, static_cast<int64_t>(block.size() * 4));
        out.write(reinterpret_cast<const char*>(block.data()), bytes);
        written += bytes;
    }
    out.close();
    return static_cast<bool>(out);
}
