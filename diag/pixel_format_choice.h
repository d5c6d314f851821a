// The pixel format the report's temporary OpenGL context uses: the best
// scored of the formats the device context offers.
#pragma once

#include <cstdint>
#include <span>

namespace velmora::diag {

// PIXELFORMATDESCRIPTOR flag and pixel type values.
inline constexpr std::uint32_t kPfdDoubleBuffer = 0x1;
inline constexpr std::uint32_t kPfdDrawToWindow = 0x4;
inline constexpr std::uint32_t kPfdSupportOpenGl = 0x20;
inline constexpr std::uint32_t kPfdGenericFormat = 0x40;
inline constexpr std::uint32_t kPfdGenericAccelerated = 0x1000;
inline constexpr std::uint8_t kPfdTypeRgba = 0;

// What the choice reads of one described format.
struct PixelFormatTraits {
    std::uint32_t flags = 0;
    std::uint8_t pixelType = kPfdTypeRgba;
    int colorBits = 0;
    int depthBits = 0;
};

// OpenGL in a window, double-buffered, RGBA.
bool IsPixelFormatCandidate(const PixelFormatTraits& format);

int PixelFormatScore(const PixelFormatTraits& format);

// The 1-based number of the best candidate among formats 1, 2, ... (the
// first of equal scores), or 0 when none scores above 0.
int ChooseBestPixelFormat(std::span<const PixelFormatTraits> formats);

}  // namespace velmora::diag
