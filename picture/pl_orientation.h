// How a picture's stored rows are to be turned and mirrored to be seen as
// the camera meant, as EXIF numbers it (tag 0x0112).
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::picture {

enum class PLOrientation : std::uint8_t {
    Upright = 1,
    MirrorLeftRight = 2,
    Rotate180 = 3,
    MirrorTopBottom = 4,
    Transpose = 5,            // mirrored along the top-left to bottom-right diagonal
    RotateClockwise = 6,      // a quarter turn clockwise
    Transverse = 7,           // mirrored along the other diagonal
    RotateAnticlockwise = 8,  // a quarter turn anticlockwise
};

// Orientations that make the stored width the height as seen.
inline bool SwapsSides(PLOrientation orientation) {
    return static_cast<int>(orientation) >= static_cast<int>(PLOrientation::Transpose);
}

// Reads the orientation from the contents of an APP1 segment (the bytes after
// its length field): "Exif", two NULs, a TIFF header in either byte order and
// the tag in the first IFD. Never reads outside [segment, segment + size).
// A missing, damaged or unknown tag gives Upright.
PLOrientation ReadExifOrientation(const std::uint8_t* segment, std::size_t size);

// Reads the orientation of a JPEG file from the first APP1 segment with EXIF
// data before the scan; a segment cut short by the end of the data is read
// as far as it goes. Never reads outside [data, data + size). Anything else
// gives Upright.
PLOrientation ReadJpegOrientation(const std::uint8_t* data, std::size_t size);

}  // namespace velmora::picture
