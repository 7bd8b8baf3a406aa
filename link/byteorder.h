#pragma once

#include <cstdint>
#include <vector>

// The storage's lengths are little-endian, the frame lengths big-endian (network
// order). These helpers spell the byte order out instead of relying on the host's.
namespace linkbytes {

inline void AppendLE(std::vector<uint8_t>& out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

inline void AppendBE(std::vector<uint8_t>& out, uint64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

inline uint64_t GetLE(const uint8_t* bytes, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

inline uint64_t GetBE(const uint8_t* bytes, int width) {
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace linkbytes
