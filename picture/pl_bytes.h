// Byte helpers the format readers share: bounds checks, little- and
// big-endian loads, and the expansion of B, G, R rows to 32-bit pixels.
// Private to the picture library.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "picture/pl_input.h"
#include "picture/pl_raster.h"

namespace velmora::picture::bytes {

inline std::uint16_t LoadU16LE(const std::uint8_t* b) {
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t LoadU32LE(const std::uint8_t* b) {
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline std::uint16_t LoadU16BE(const std::uint8_t* b) {
    return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}

inline std::uint32_t LoadU32BE(const std::uint8_t* b) {
    return (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
           (static_cast<std::uint32_t>(b[2]) << 8) | static_cast<std::uint32_t>(b[3]);
}

// Throws the input's own end-of-file error (code 11) unless n more bytes are
// there, so that a reader refuses a picture the input cannot hold before it
// allocates anything for it.
inline void RequireBytes(const PLInput& input, std::uint64_t n) {
    const std::uint64_t limit = std::numeric_limits<std::size_t>::max();
    input.PeekNBytes(static_cast<std::size_t>(std::min(n, limit)));
}

// (B, G, R) triples to (B, G, R, 255) pixels.
inline void ExpandBgrRow(const std::uint8_t* bgr, std::size_t pixels, std::uint8_t* bgra) {
    for (std::size_t x = 0; x < pixels; ++x, bgr += 3, bgra += 4) {
        bgra[PL_BLUE] = bgr[0];
        bgra[PL_GREEN] = bgr[1];
        bgra[PL_RED] = bgr[2];
        bgra[PL_ALPHA] = 255;
    }
}

}  // namespace velmora::picture::bytes
