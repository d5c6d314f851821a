#include "picture/pl_targa_reader.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "picture/pl_bytes.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_row_target.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"

namespace velmora::picture {

namespace {

constexpr int kTraceLevel = 2;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntrySize = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

TgaHeader ReadHeader(PLInput& input) {
    TgaHeader h;
    h.idLength = input.ReadByte();
    h.colourMapType = input.ReadByte();
    h.imageType = input.ReadByte();
    h.mapFirst = input.ReadU16LE();
    h.mapLength = input.ReadU16LE();
    h.mapEntrySize = input.ReadByte();
    input.ReadU16LE();  // x origin
    input.ReadU16LE();  // y origin
    h.width = input.ReadU16LE();
    h.height = input.ReadU16LE();
    h.depth = input.ReadByte();
    h.descriptor = input.ReadByte();
    return h;
}

// Bytes one stored pixel (or colour-map entry) takes; 0 for depths we refuse.
int PixelBytes(int depth) {
    if (depth >= 1 && depth <= 8) {
        return 1;
    }
    switch (depth) {
        case 15:
        case 16:
            return 2;
        case 24:
            return 3;
        case 32:
            return 4;
        default:
            return 0;
    }
}

// A 15/16/24/32-bit pixel as B, G, R, A. Sixteen-bit pixels take their top bit
// as alpha only when the descriptor says the pixels carry an attribute bit;
// most writers leave that bit 0, which would make the picture invisible.
void ConvertPixel(const std::uint8_t* source, int depth, bool attributeAlpha, std::uint8_t* out) {
    switch (depth) {
        case 15:
        case 16: {
            const unsigned p = bytes::LoadU16LE(source);
            out[PL_BLUE] = static_cast<std::uint8_t>((p * 8) & 0xFF);
            out[PL_GREEN] = static_cast<std::uint8_t>((p >> 2) & 0xF8);
            out[PL_RED] = static_cast<std::uint8_t>((p >> 7) & 0xF8);
            out[PL_ALPHA] = (depth == 16 && attributeAlpha && (p & 0x8000) == 0) ? 0 : 255;
            break;
        }
        case 24:
            bytes::ExpandBgrRow(source, 1, out);
            break;
        default:
            std::memcpy(out, source, 4);
            break;
    }
}

// Writes pixels in stored order, moving to the next row at each row end.
class PixelSink {
public:
    PixelSink(PLRowTarget& target, const TgaHeader& h, bool topDown, bool attributeAlpha)
        : target_(target),
          depth_(h.depth),
          topDown_(topDown),
          attributeAlpha_(attributeAlpha),
          width_(h.width),
          height_(h.height) {
        line_ = target_.Line(LineFor(0));
    }

    void Put(const std::uint8_t* pixel) {
        if (depth_ <= 8) {
            line_[x_] = pixel[0];
        } else {
            ConvertPixel(pixel, depth_, attributeAlpha_, line_ + 4 * static_cast<std::size_t>(x_));
        }
        if (++x_ == width_) {
            x_ = 0;
            target_.LineDone(LineFor(row_));
            if (++row_ < height_) {
                line_ = target_.Line(LineFor(row_));
            }
        }
    }

private:
    std::int32_t LineFor(std::int32_t storedRow) const {
        return topDown_ ? storedRow : height_ - 1 - storedRow;
    }

    PLRowTarget& target_;
    int depth_;
    bool topDown_;
    bool attributeAlpha_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t x_ = 0;
    std::int32_t row_ = 0;
    std::uint8_t* line_ = nullptr;
};

struct ColourMap {
    std::array<std::uint8_t, 256 * 4> entries{};  // B, G, R, A
    std::array<bool, 256> present{};
};

ColourMap ReadColourMap(PLInput& input, const TgaHeader& h) {
    ColourMap map;
    if (h.colourMapType == 0 || h.mapLength == 0 || h.mapEntrySize == 0) {
        return map;
    }
    const int entryBytes = PixelBytes(h.mapEntrySize);
    if (entryBytes == 0) {
        PLRaiseError(pl_error::FormatError, "Unsupported TGA color map entry size.");
    }
    const std::uint8_t* data = input.ReadNBytes(static_cast<std::size_t>(h.mapLength) *
                                                static_cast<std::size_t>(entryBytes));
    for (int k = 0; k < h.mapLength; ++k) {
        const std::uint8_t* source = data + static_cast<std::size_t>(k) * entryBytes;
        const int slot = (h.mapFirst + k) % 256;
        std::uint8_t* out = map.entries.data() + 4 * slot;
        if (entryBytes == 1) {
            // An 8-bit map holds grey levels.
            out[PL_BLUE] = out[PL_GREEN] = out[PL_RED] = source[0];
            out[PL_ALPHA] = 255;
        } else {
            ConvertPixel(source, h.mapEntrySize, false, out);
        }
        map.present[static_cast<std::size_t>(slot)] = true;
    }
    return map;
}

// Whether the image type is run-length encoded; throws for types we refuse.
bool IsCompressed(const TgaHeader& h) {
    switch (h.imageType) {
        case 1:
        case 2:
        case 3:
            return false;
        case 9:
        case 10:
        case 11:
            return true;
        default:
            PLRaiseError(pl_error::FormatError, "Unknown TGA image type.");
    }
}

// Refuses a picture the input cannot hold before the raster is made for it.
void RequirePixelBytes(const PLInput& input, std::uint64_t pixels, int pixelBytes,
                       bool compressed) {
    if (compressed) {
        // Every packet takes a header byte and at least one pixel, and covers
        // at most 128 pixels.
        bytes::RequireBytes(input,
                            (pixels + 127) / 128 * (1 + static_cast<std::uint64_t>(pixelBytes)));
    } else {
        bytes::RequireBytes(input, pixels * static_cast<std::uint64_t>(pixelBytes));
    }
}

// Rows go to the target in stored order, the bottom row first unless the
// descriptor says the picture is stored top-down.
void CreateRaster(PLRowTarget& target, const TgaHeader& h, const ColourMap& map, bool topDown) {
    const bool trueColour = h.depth > 8;
    target.Create(h.width, h.height, trueColour ? 32 : 8, h.depth == 16 || h.depth == 32, !topDown);
    target.SetResolution(0, 0);
    PLRaster& raster = target.Picture();
    if (trueColour) {
        return;
    }
    for (int i = 0; i < 256; ++i) {
        if (map.present[static_cast<std::size_t>(i)]) {
            const std::uint8_t* e = map.entries.data() + 4 * i;
            raster.SetPaletteEntry(i, e[PL_RED], e[PL_GREEN], e[PL_BLUE], e[PL_ALPHA]);
        }
    }
    if (h.imageType == 3 || h.imageType == 11) {
        raster.SetGreyPalette();
    }
}

void ReadRawPixels(PLInput& input, const TgaHeader& h, int pixelBytes, PixelSink& sink) {
    const std::size_t rowBytes = static_cast<std::size_t>(h.width) * pixelBytes;
    for (int row = 0; row < h.height; ++row) {
        const std::uint8_t* data = input.ReadNBytes(rowBytes);
        for (int x = 0; x < h.width; ++x) {
            sink.Put(data + static_cast<std::size_t>(x) * pixelBytes);
        }
    }
}

// Packets may run on from one row into the next (several writers do that),
// but never past the last pixel of the picture.
void ReadRlePixels(PLInput& input, std::uint64_t pixels, int pixelBytes, PixelSink& sink) {
    std::uint64_t left = pixels;
    while (left > 0) {
        const std::uint8_t packet = input.ReadByte();
        const unsigned count = (packet & 0x7F) + 1u;
        if (count > left) {
            PLRaiseError(pl_error::FormatError, "TGA run goes past the end of the picture.");
        }
        if (packet >= 128) {
            const std::uint8_t* pixel = input.ReadNBytes(static_cast<std::size_t>(pixelBytes));
            for (unsigned i = 0; i < count; ++i) {
                sink.Put(pixel);
            }
        } else {
            const std::uint8_t* data =
                input.ReadNBytes(count * static_cast<std::size_t>(pixelBytes));
            for (unsigned i = 0; i < count; ++i) {
                sink.Put(data + static_cast<std::size_t>(i) * pixelBytes);
            }
        }
        left -= count;
    }
}

}  // namespace

void PLTargaReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    PLTrace(kTraceLevel, "Decoding TGA.\n");
    const TgaHeader h = ReadHeader(input);
    const bool compressed = IsCompressed(h);
    const int pixelBytes = PixelBytes(h.depth);
    if (pixelBytes == 0) {
        PLRaiseError(pl_error::FormatError, "Unsupported TGA pixel depth.");
    }

    input.Skip(h.idLength);
    const ColourMap map = ReadColourMap(input, h);
    const std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    RequirePixelBytes(input, pixels, pixelBytes, compressed);
    const bool topDown = (h.descriptor & 0x20) != 0;
    PLRowTarget target(raster, hint);
    CreateRaster(target, h, map, topDown);

    const bool attributeAlpha = (h.descriptor & 0x0F) != 0;
    PixelSink sink(target, h, topDown, attributeAlpha);
    if (compressed) {
        ReadRlePixels(input, pixels, pixelBytes, sink);
    } else {
        ReadRawPixels(input, h, pixelBytes, sink);
    }
    target.Finish();
}

}  // namespace velmora::picture
