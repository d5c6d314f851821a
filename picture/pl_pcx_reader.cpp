#include "picture/pl_pcx_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/pl_bytes.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_row_target.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"

namespace velmora::picture {

namespace {

constexpr int kTraceLevel = 2;
constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kTrailingPaletteBytes = 1 + 256 * 3;  // marker byte, then R, G, B

using bytes::LoadU16LE;

// The run-length stream of the whole picture, handed out one row at a time.
// Runs may span rows; the input ending early just leaves the rest zero.
class RleStream {
public:
    RleStream(PLInput& input, std::uint64_t totalBytes) : input_(input), left_(totalBytes) {}

    // Fills the row; once the input has ended the row stays zero (cleared
    // only once, as lines can be long and rows many).
    void ReadRow(std::uint8_t* row, std::size_t rowBytes) {
        if (ended_ && cleared_) {
            return;
        }
        std::memset(row, 0, rowBytes);
        cleared_ = ended_;
        std::size_t pos = 0;
        while (pos < rowBytes && !ended_) {
            if (run_ > 0) {
                const std::size_t n =
                    static_cast<std::size_t>(std::min<std::uint64_t>(run_, rowBytes - pos));
                std::memset(row + pos, runValue_, n);
                pos += n;
                run_ -= n;
                continue;
            }
            if (input_.GetRemaining() == 0) {
                ended_ = true;
                break;
            }
            const std::uint8_t b = input_.ReadByte();
            if (b < 192) {
                row[pos++] = b;
                --left_;
                continue;
            }
            if (input_.GetRemaining() == 0) {
                ended_ = true;
                break;
            }
            run_ = b & 63u;
            runValue_ = input_.ReadByte();
            if (run_ > left_) {
                PLRaiseError(pl_error::InternalLimit, "repeat count spans end of image.");
            }
            left_ -= run_;
        }
    }

private:
    PLInput& input_;
    std::uint64_t left_;  // bytes of the picture not yet accounted for
    std::uint64_t run_ = 0;
    std::uint8_t runValue_ = 0;
    bool ended_ = false;
    bool cleared_ = false;
};

// The fields of the 128-byte header the decoder uses.
struct PcxHeader {
    int bitsPerPixel = 0;
    int planes = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t dpiX = 0;
    std::int32_t dpiY = 0;
    std::size_t bytesPerLine = 0;
    std::array<std::uint8_t, 48> palette{};  // 16 entries of R, G, B
    bool trueColour = false;
};

// Reads and checks the header, so that nothing is allocated for a layout we
// cannot show.
PcxHeader ReadHeader(PLInput& input) {
    const std::uint8_t* header = input.ReadNBytes(kHeaderBytes);
    if (header[0] != 10) {
        PLRaiseError(pl_error::WrongSignature, "Error decoding pcx: Not a PCX file.");
    }
    if (header[2] != 1) {
        PLRaiseError(pl_error::WrongSignature, "File has unknown encoding scheme.");
    }
    PcxHeader h;
    h.bitsPerPixel = header[3];
    h.width = std::int32_t{LoadU16LE(header + 8)} - LoadU16LE(header + 4) + 1;
    h.height = std::int32_t{LoadU16LE(header + 10)} - LoadU16LE(header + 6) + 1;
    h.dpiX = LoadU16LE(header + 12);
    h.dpiY = LoadU16LE(header + 14);
    std::memcpy(h.palette.data(), header + 16, h.palette.size());
    h.planes = header[65];
    h.bytesPerLine = LoadU16LE(header + 66);

    if (h.bitsPerPixel == 1) {
        if (h.planes > 4) {
            PLRaiseError(pl_error::FormatError, "Can't handle image with more than 4 planes.");
        }
        if (h.planes == 0) {
            PLRaiseError(pl_error::FormatError, "Can't handle bits per pixel image with planes.");
        }
    } else if (!((h.bitsPerPixel == 2 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8) &&
                 (h.planes == 1 || h.planes == 3))) {
        PLRaiseError(pl_error::FormatError, "Can't handle bits per pixel image with planes.");
    }
    h.trueColour = h.bitsPerPixel == 8 && h.planes == 3;
    if (!h.trueColour && h.planes > 1 && h.bitsPerPixel != 1) {
        // Checked before decoding rather than at the first row: nothing to
        // allocate for a layout we cannot show.
        PLRaiseError(pl_error::InternalLimit, "Can't handle more than 1 bit per pixel.");
    }
    if (h.width < 1 || h.height < 1) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
    // A plane's line must hold the row's pixels; shorter lines would make us
    // read the next plane's bytes as pixels.
    const std::uint64_t neededLineBytes = (std::uint64_t{static_cast<std::uint32_t>(h.width)} *
                                               static_cast<std::uint64_t>(h.bitsPerPixel) +
                                           7) /
                                          8;
    if (h.bytesPerLine < neededLineBytes) {
        PLRaiseError(pl_error::FormatError, "PCX line is too short for the picture width.");
    }
    return h;
}

// R, G, B per index.
using Palette = std::array<std::uint8_t, 256 * 3>;

Palette ReadPalette(const PLInput& input, const PcxHeader& h) {
    Palette palette{};
    if (h.bitsPerPixel == 1 && h.planes == 1) {
        palette[3] = palette[4] = palette[5] = 255;
    } else if (h.bitsPerPixel == 8 && h.planes == 1) {
        // The marker value is not checked: some writers leave it unset.
        const std::size_t remaining = input.GetRemaining();
        if (remaining >= kTrailingPaletteBytes) {
            const std::uint8_t* rest = input.PeekNBytes(remaining);
            std::memcpy(palette.data(), rest + remaining - 768, 768);
        } else {
            for (int i = 0; i < 256; ++i) {
                palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] =
                    static_cast<std::uint8_t>(i);
            }
        }
    } else {
        std::memcpy(palette.data(), h.palette.data(), h.palette.size());
    }
    return palette;
}

// Unpacks every row and converts it to 32-bit pixels in the raster.
void DecodeRows(PLInput& input, const PcxHeader& h, const Palette& palette, PLRowTarget& target) {
    const int bitsPerPixel = h.bitsPerPixel;
    const int planes = h.planes;
    const std::size_t bytesPerLine = h.bytesPerLine;
    const std::int32_t width = h.width;
    const bool trueColour = h.trueColour;
    const std::size_t rowBytes = bytesPerLine * static_cast<std::size_t>(planes);
    const std::uint64_t totalBytes = std::uint64_t{rowBytes} * static_cast<std::uint64_t>(h.height);

    std::vector<std::uint8_t> row(rowBytes);
    RleStream stream(input, totalBytes);
    for (std::int32_t y = 0; y < h.height; ++y) {
        stream.ReadRow(row.data(), rowBytes);
        std::uint8_t* out = target.Line(y);
        for (std::int32_t x = 0; x < width; ++x, out += 4) {
            const auto ux = static_cast<std::size_t>(x);
            if (trueColour) {
                out[PL_RED] = row[ux];
                out[PL_GREEN] = row[bytesPerLine + ux];
                out[PL_BLUE] = row[2 * bytesPerLine + ux];
                out[PL_ALPHA] = 255;
                continue;
            }
            unsigned index = 0;
            if (planes == 1) {
                const std::size_t bit = ux * static_cast<std::size_t>(bitsPerPixel);
                const unsigned shift = 8u - static_cast<unsigned>(bitsPerPixel) - bit % 8;
                index = (row[bit / 8] >> shift) & ((1u << bitsPerPixel) - 1);
            } else {
                for (int p = 0; p < planes; ++p) {
                    const std::uint8_t b = row[static_cast<std::size_t>(p) * bytesPerLine + ux / 8];
                    index |= ((b >> (7 - ux % 8)) & 1u) << p;
                }
            }
            out[PL_RED] = palette[3 * index];
            out[PL_GREEN] = palette[3 * index + 1];
            out[PL_BLUE] = palette[3 * index + 2];
            out[PL_ALPHA] = 255;
        }
        target.LineDone(y);
    }
}

}  // namespace

void PLPcxReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    PLTrace(kTraceLevel, "Decoding PCX.\n");
    const PcxHeader h = ReadHeader(input);
    const Palette palette = ReadPalette(input, h);
    PLRowTarget target(raster, hint);
    target.Create(h.width, h.height, 32, false);
    target.SetResolution(h.dpiX, h.dpiY);
    DecodeRows(input, h, palette, target);
    target.Finish();
}

}  // namespace velmora::picture
