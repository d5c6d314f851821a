// Sample pictures made by the tests themselves, through libpng and libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::picture::testing {

using Bytes = std::vector<std::uint8_t>;

// PNG of the given colour type (PNG_COLOR_TYPE_*) and bit depth. samples
// holds the rows top-down, packed as the format stores them (e.g. R, G, B for
// RGB; indices for palette). palette: R, G, B triples for palette pictures.
Bytes EncodePng(int width, int height, int colourType, int bitDepth, const Bytes& samples,
                const Bytes& palette = {}, int pixelsPerMetre = 0, bool interlaced = false);

// Baseline JPEG: components 1 (grey) or 3 (R, G, B rows top-down).
Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, int quality,
                 int densityX = 0, int densityY = 0, bool progressive = false);

// Four-component JPEG of C, M, Y, K rows top-down, stored as CMYK or as
// YCCK, with or without the Adobe marker that says the samples are inverted.
enum class CmykStorage { Cmyk, Ycck };
enum class AdobeMarker { Written, LeftOut };
Bytes EncodeCmykJpeg(int width, int height, const Bytes& cmyk, CmykStorage storage,
                     AdobeMarker marker);

// The JPEG with one more segment, holding `contents`, right after its
// start-of-image marker.
Bytes InsertJpegSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& contents);

// The contents of an APP1 segment with EXIF data in either byte order: the
// first IFD at `directoryOffset` claims `entries` entries, of which two are
// there, a camera make and the orientation `value`.
Bytes ExifOrientationSegment(std::uint16_t value, bool bigEndian, std::uint32_t directoryOffset = 8,
                             std::uint16_t entries = 2);

// A file in its own new folder under the system's temporary folder, both
// removed when the object goes.
class TempFile {
public:
    TempFile(const std::string& name, const Bytes& contents);
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile();
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

}  // namespace velmora::picture::testing
