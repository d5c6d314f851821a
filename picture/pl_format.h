// Recognising a picture file by its first bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::picture {

enum class PLFormat : int {
    Unknown = 0,
    Bmp = 1,
    Pict = 2,
    Tga = 3,
    Tiff = 4,
    Jpeg = 5,
    Png = 6,
    EpsTiff = 7,
    Pcx = 10,
    Pgm = 11,
    Gif = 12,
    Ppm = 13,
    Psd = 14,
    WebP = 15,
};

// Formats the library decodes itself; every other file, recognised or not,
// is left to a fallback reader when the decoder has one.
bool HasBuiltInReader(PLFormat format);

// Enough for every test below: the PICT test looks at bytes 522 to 525.
inline constexpr std::size_t kRecognitionBytes = 526;

// header: the first bytes of the input (up to kRecognitionBytes; missing
// bytes count as 0);
// totalSize: the size of the whole input.
PLFormat RecognizeFormat(const std::uint8_t* header, std::size_t available, std::size_t totalSize);

}  // namespace velmora::picture
