// Reads Windows and OS/2 bitmaps (BMP).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLRowTarget;

class PLBitmapFileReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;

private:
    // What the headers say about the picture.
    struct Header {
        std::uint32_t headerSize = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::uint16_t bitsPerPixel = 0;
        std::uint32_t compression = 0;
        std::int32_t pixelsPerMetreX = 0;
        std::int32_t pixelsPerMetreY = 0;
        std::uint32_t coloursUsed = 0;
        std::uint32_t pixelOffset = 0;
        std::uint32_t greenMask = 0;

        bool IsRle() const;
        // Bytes of the stored rows of an uncompressed picture.
        std::uint64_t PixelBytes() const;
    };
    // The file's entries as B, G, R, A, no more than the depth can index.
    using Palette = std::vector<std::uint8_t>;

    static Header ReadHeaders(PLInput& input);
    // Skips bitmap-array entries to the first picture's signature.
    static void ReadSignature(PLInput& input);
    // The fields of a header of 40 bytes or more, after its size.
    static void ReadInfoHeader(PLInput& input, Header& header);
    static Palette ReadPalette(PLInput& input, const Header& header);
    static void MoveToPixels(PLInput& input, const Header& header, std::size_t start);
    static void CheckPlausibleSize(const PLInput& input, const Header& header);

    static void DecodeUncompressed(PLInput& input, const Header& header, PLRowTarget& target);
    static void ClearRows(const Header& header, PLRowTarget& target);
    static void DecodeRle4(PLInput& input, const Header& header, PLRowTarget& target);
    static void DecodeRle8(PLInput& input, const Header& header, PLRowTarget& target);
};

}  // namespace velmora::picture
