#include "picture/pl_bitmap_file_reader.h"

#include <algorithm>
#include <cmath>
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

using bytes::RequireBytes;

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Info headers this long or longer carry the colour masks themselves.
constexpr std::uint32_t kMaskHeaderSize = 52;
constexpr std::uint16_t kGreenMask555 = 0x3E0;
constexpr std::int32_t kDefaultDpi = 150;

bool HasSignature(std::uint16_t value, const char (&text)[3]) {
    return value == static_cast<std::uint16_t>(static_cast<std::uint8_t>(text[0]) |
                                               (static_cast<std::uint8_t>(text[1]) << 8));
}

bool IsLegalDepth(std::uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

std::int32_t ReadI32(PLInput& input) {
    return static_cast<std::int32_t>(input.ReadU32LE());
}

std::int32_t DotsPerInch(std::int32_t pixelsPerMetre) {
    if (pixelsPerMetre < 1) {
        return kDefaultDpi;
    }
    const long dpi = std::lround(static_cast<double>(pixelsPerMetre) * 0.0254);
    return dpi <= 1 ? kDefaultDpi : static_cast<std::int32_t>(dpi);
}

// Stored rows are padded to a multiple of four bytes.
std::uint64_t StoredRowBytes(std::int32_t width, std::uint16_t bitsPerPixel) {
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace

bool PLBitmapFileReader::Header::IsRle() const {
    return compression != 0 && (bitsPerPixel == 4 || bitsPerPixel == 8);
}

std::uint64_t PLBitmapFileReader::Header::PixelBytes() const {
    return StoredRowBytes(width, bitsPerPixel) * static_cast<std::uint64_t>(height);
}

void PLBitmapFileReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    const std::size_t start = input.GetPosition();
    const Header header = ReadHeaders(input);
    const Palette palette = ReadPalette(input, header);
    PLTrace(2, "Bitmap header is ok.\n");
    MoveToPixels(input, header, start);
    CheckPlausibleSize(input, header);

    // Rows are stored bottom row first and go to the target in that order.
    PLRowTarget target(raster, hint);
    target.Create(header.width, header.height, header.bitsPerPixel <= 8 ? 8 : 32,
                  header.bitsPerPixel == 32, true);
    for (std::size_t i = 0; i < palette.size(); i += 4) {
        target.Picture().SetPaletteEntry(static_cast<int>(i / 4), palette[i + 2], palette[i + 1],
                                         palette[i], 255);
    }

    if (header.IsRle() && header.bitsPerPixel == 4) {
        DecodeRle4(input, header, target);
    } else if (header.IsRle()) {
        DecodeRle8(input, header, target);
    } else {
        DecodeUncompressed(input, header, target);
    }
    target.Finish();

    target.SetResolution(DotsPerInch(header.pixelsPerMetreX), DotsPerInch(header.pixelsPerMetreY));
    PLTrace(2, "Decoding finished.\n");
}

PLBitmapFileReader::Header PLBitmapFileReader::ReadHeaders(PLInput& input) {
    ReadSignature(input);
    Header header;
    input.Skip(8);  // File size and the two reserved words.
    header.pixelOffset = input.ReadU32LE();
    header.headerSize = input.ReadU32LE();

    if (header.headerSize == kCoreHeaderSize) {
        header.width = input.ReadU16LE();
        header.height = input.ReadU16LE();
        input.Skip(2);  // Planes.
        header.bitsPerPixel = input.ReadU16LE();
    } else if (header.headerSize >= kInfoHeaderSize) {
        ReadInfoHeader(input, header);
    } else {
        PLRaiseError(pl_error::NotSupported, "Bitmap decoder: Unsupported header size.");
    }

    if (header.height < 0) {
        PLRaiseError(pl_error::FormatError, "Bitmap decoder: Top-down bitmaps are not supported.");
    }
    if (header.width < 1 || header.height < 1) {
        PLRaiseError(pl_error::FormatError, "Bitmap decoder: Invalid bitmap dimensions.");
    }
    // Checked before the palette and the raster so that no depth the decoder
    // cannot handle costs an allocation.
    if (!IsLegalDepth(header.bitsPerPixel)) {
        PLRaiseError(pl_error::FormatError, "Decoding bmp: Illegal bpp value.");
    }
    return header;
}

void PLBitmapFileReader::ReadSignature(PLInput& input) {
    // Bitmap arrays hold complete files; the first one is the picture.
    std::uint16_t signature = input.ReadU16LE();
    while (HasSignature(signature, "BA")) {
        input.Skip(12);
        signature = input.ReadU16LE();
    }
    if (!HasSignature(signature, "BM") && !HasSignature(signature, "CI") &&
        !HasSignature(signature, "IC") && !HasSignature(signature, "CP")) {
        PLRaiseError(pl_error::WrongSignature, "Bitmap decoder: This isn't a bitmap.");
    }
    PLTrace(2, "Bitmap file signature found\n");
}

void PLBitmapFileReader::ReadInfoHeader(PLInput& input, Header& header) {
    header.width = ReadI32(input);
    header.height = ReadI32(input);
    input.Skip(2);  // Planes.
    header.bitsPerPixel = input.ReadU16LE();
    header.compression = input.ReadU32LE();
    input.Skip(4);  // Image size.
    header.pixelsPerMetreX = ReadI32(input);
    header.pixelsPerMetreY = ReadI32(input);
    header.coloursUsed = input.ReadU32LE();
    input.Skip(4);  // Colours important.
    std::uint32_t rest = header.headerSize - kInfoHeaderSize;
    bool masksRead = false;
    if (header.headerSize >= kMaskHeaderSize) {
        input.Skip(4);  // Red mask.
        header.greenMask = input.ReadU32LE();
        const std::uint32_t blueMask = input.ReadU32LE();
        // Empty masks here: take the ones after the header, as after a
        // 40-byte one.
        masksRead = header.greenMask != 0 || blueMask != 0;
        rest -= 12;
    }
    input.Skip(rest);
    if (header.bitsPerPixel == 16 && header.compression != 0 && !masksRead) {
        input.Skip(4);  // Red mask.
        header.greenMask = input.ReadU32LE();
        input.Skip(4);  // Blue mask.
    }
}

PLBitmapFileReader::Palette PLBitmapFileReader::ReadPalette(PLInput& input, const Header& header) {
    Palette palette;
    if (header.bitsPerPixel > 8) {
        return palette;
    }
    PLTrace(2, "Reading palette.\n");
    const std::uint32_t depthEntries = std::uint32_t{1} << header.bitsPerPixel;
    const std::uint64_t fileEntries = header.coloursUsed != 0 ? header.coloursUsed : depthEntries;
    const std::size_t entryBytes = header.headerSize == kCoreHeaderSize ? 3 : 4;
    // All the file's entries are read past, but no more than the depth can
    // index are kept.
    RequireBytes(input, fileEntries * entryBytes);
    const std::uint8_t* entries =
        input.ReadNBytes(static_cast<std::size_t>(fileEntries) * entryBytes);
    const std::size_t kept =
        static_cast<std::size_t>(std::min<std::uint64_t>(fileEntries, depthEntries));
    palette.resize(kept * 4);
    for (std::size_t i = 0; i < kept; ++i) {
        std::memcpy(&palette[i * 4], entries + i * entryBytes, 3);
        palette[i * 4 + 3] = 255;
    }
    return palette;
}

void PLBitmapFileReader::MoveToPixels(PLInput& input, const Header& header, std::size_t start) {
    const std::uint64_t target = static_cast<std::uint64_t>(start) + header.pixelOffset;
    const std::uint64_t position = input.GetPosition();
    if (target <= position) {
        return;
    }
    const std::uint64_t gap = target - position;
    if (header.headerSize == kCoreHeaderSize) {
        RequireBytes(input, gap);
        input.Skip(static_cast<std::size_t>(gap));
        return;
    }
    // Windows files normally have their pixels right after the palette; a gap
    // (colour masks, a colour table of a true-colour picture) is honoured only
    // when the data at the declared offset can hold the picture.
    const std::uint64_t remaining = input.GetRemaining();
    if (gap >= remaining) {
        return;
    }
    if (!header.IsRle() && remaining - gap < header.PixelBytes()) {
        return;
    }
    input.Skip(static_cast<std::size_t>(gap));
}

void PLBitmapFileReader::CheckPlausibleSize(const PLInput& input, const Header& header) {
    // RLE data may end at any point with end-of-bitmap, so only the raster
    // size cap bounds those pictures.
    if (!header.IsRle()) {
        RequireBytes(input, header.PixelBytes());
    }
}

void PLBitmapFileReader::DecodeUncompressed(PLInput& input, const Header& header,
                                            PLRowTarget& target) {
    switch (header.bitsPerPixel) {
        case 1:
            PLTrace(2, "Decoding 1 bit per pixel bitmap.\n");
            break;
        case 4:
            PLTrace(2, "Decoding uncompressed 4 bit per pixel bitmap.\n");
            break;
        case 8:
            PLTrace(2, "Decoding uncompressed 8 bit per pixel bitmap.\n");
            break;
        default:
            PLTrace(2, "Decoding true-color bitmap.\n");
            break;
    }
    const bool layout555 = header.compression == 0 || header.greenMask == kGreenMask555;
    const auto width = static_cast<std::size_t>(header.width);
    const auto rowBytes =
        static_cast<std::size_t>(StoredRowBytes(header.width, header.bitsPerPixel));
    for (std::int32_t r = 0; r < header.height; ++r) {
        const std::uint8_t* in = input.ReadNBytes(rowBytes);
        const std::int32_t y = header.height - 1 - r;
        std::uint8_t* out = target.Line(y);
        switch (header.bitsPerPixel) {
            case 1:
                for (std::size_t x = 0; x < width; ++x) {
                    out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
                }
                break;
            case 4:
                for (std::size_t x = 0; x < width; ++x) {
                    out[x] = (x & 1) != 0 ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
                }
                break;
            case 8:
                std::memcpy(out, in, width);
                break;
            case 16:
                for (std::size_t x = 0; x < width; ++x) {
                    const unsigned p = bytes::LoadU16LE(in + 2 * x);
                    std::uint8_t* pixel = out + 4 * x;
                    pixel[PL_BLUE] = static_cast<std::uint8_t>(p << 3);
                    if (layout555) {
                        pixel[PL_GREEN] = static_cast<std::uint8_t>((p >> 2) & 0xF8);
                        pixel[PL_RED] = static_cast<std::uint8_t>((p >> 7) & 0xF8);
                    } else {
                        pixel[PL_GREEN] = static_cast<std::uint8_t>((p >> 3) & 0xF8);
                        pixel[PL_RED] = static_cast<std::uint8_t>((p >> 8) & 0xF8);
                    }
                    pixel[PL_ALPHA] = 255;
                }
                break;
            case 24:
                bytes::ExpandBgrRow(in, width, out);
                break;
            default:
                std::memcpy(out, in, 4 * width);
                break;
        }
        target.LineDone(y);
    }
}

// Rows the data never reaches stay index 0: cleared here at full size, and
// made so by the target's Finish when scaling.
void PLBitmapFileReader::ClearRows(const Header& header, PLRowTarget& target) {
    if (target.Scaling()) {
        return;
    }
    for (std::int32_t y = 0; y < header.height; ++y) {
        std::memset(target.Line(y), 0, static_cast<std::size_t>(header.width));
    }
}

// Runs that reach past a row's end are clipped there: their bytes are read,
// the pixels beyond the width are dropped. Rows the data never reaches, and
// pixels of a row it leaves unwritten, keep index 0.
void PLBitmapFileReader::DecodeRle4(PLInput& input, const Header& header, PLRowTarget& target) {
    PLTrace(2, "Decoding RLE4-compressed bitmap.\n");
    const std::int32_t height = header.height;
    const auto width = static_cast<std::size_t>(header.width);
    ClearRows(header, target);
    // The row is assembled here and, as the format's writers expect, not
    // cleared between rows: pixels a short row leaves out repeat the row
    // before.
    std::vector<std::uint8_t> scratch(width, 0);
    std::size_t x = 0;
    std::int32_t r = 0;
    while (r < height) {
        const std::uint8_t count = input.ReadByte();
        if (count > 0) {
            const std::uint8_t value = input.ReadByte();
            const std::size_t n = std::min<std::size_t>(count, width - x);
            for (std::size_t i = 0; i < n; ++i) {
                scratch[x + i] = (i & 1) != 0 ? value & 0x0F : value >> 4;
            }
            x += n;
            continue;
        }
        const std::uint8_t escape = input.ReadByte();
        if (escape == 0 || escape == 1) {
            std::memcpy(target.Line(height - 1 - r), scratch.data(), width);
            target.LineDone(height - 1 - r);
            ++r;
            x = 0;
            if (escape == 1) {
                break;
            }
        } else if (escape == 2) {
            PLRaiseError(pl_error::NotSupported, "Encountered delta escape.");
        } else {
            const std::size_t bytes = (escape + 1u) / 2;
            const std::uint8_t* data = input.ReadNBytes(bytes);
            const std::size_t n = std::min<std::size_t>(escape, width - x);
            for (std::size_t i = 0; i < n; ++i) {
                scratch[x + i] = (i & 1) != 0 ? data[i >> 1] & 0x0F : data[i >> 1] >> 4;
            }
            x += n;
            if ((bytes & 1) != 0) {
                input.Skip(1);
            }
        }
    }
}

void PLBitmapFileReader::DecodeRle8(PLInput& input, const Header& header, PLRowTarget& target) {
    PLTrace(2, "Decoding RLE8-compressed bitmap.\n");
    const std::int32_t height = header.height;
    const auto width = static_cast<std::size_t>(header.width);
    ClearRows(header, target);
    std::size_t x = 0;
    std::int32_t r = 0;
    while (r < height) {
        std::uint8_t* line = target.Line(height - 1 - r);
        if (x == 0 && target.Scaling()) {
            // The target's one row is reused; a row starts as index 0.
            std::memset(line, 0, width);
        }
        const std::uint8_t count = input.ReadByte();
        if (count > 0) {
            const std::uint8_t value = input.ReadByte();
            const std::size_t n = std::min<std::size_t>(count, width - x);
            std::memset(line + x, value, n);
            x += n;
            continue;
        }
        const std::uint8_t escape = input.ReadByte();
        if (escape == 0) {
            target.LineDone(height - 1 - r);
            ++r;
            x = 0;
        } else if (escape == 1) {
            target.LineDone(height - 1 - r);
            break;
        } else if (escape == 2) {
            PLRaiseError(pl_error::NotSupported, "Encountered delta escape.");
        } else {
            const std::uint8_t* data = input.ReadNBytes(escape);
            const std::size_t n = std::min<std::size_t>(escape, width - x);
            std::memcpy(line + x, data, n);
            x += n;
            if ((escape & 1) != 0) {
                input.Skip(1);
            }
        }
    }
}

}  // namespace velmora::picture
