#include "picture/pl_psd_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
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
// The largest width, height and channel count the format allows.
constexpr std::uint32_t kMaximumSide = 30000;
constexpr int kMaximumChannels = 56;

constexpr std::uint32_t kResolutionInfoBytes = 16;
constexpr std::size_t kReleaseStep = std::size_t{1} << 20;

constexpr int kModeGreyscale = 1;
constexpr int kModeIndexed = 2;
constexpr int kModeRgb = 3;

struct PsdHeader {
    int version = 0;
    int channels = 0;
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    int bitsPerChannel = 0;
    int mode = 0;
};

struct PsdPalette {
    bool present = false;
    std::array<std::uint8_t, 768> rgb{};  // 256 red, 256 green, 256 blue
};

PsdHeader ReadHeader(PLInput& input) {
    if (std::memcmp(input.ReadNBytes(4), "8BPS", 4) != 0) {
        PLRaiseError(pl_error::FormatError, "PSD decoder: This isn't a photoshop file.");
    }
    PsdHeader h;
    h.version = input.ReadU16BE();
    input.Skip(6);
    h.channels = input.ReadU16BE();
    h.height = input.ReadU32BE();
    h.width = input.ReadU32BE();
    h.bitsPerChannel = input.ReadU16BE();
    h.mode = input.ReadU16BE();
    // Version 2 files have wider section lengths; reading them as version 1
    // would go astray.
    if (h.version != 1) {
        PLRaiseError(pl_error::NotSupported, "PSD decoder: File version not supported.");
    }
    if (h.channels < 1 || h.channels > kMaximumChannels) {
        PLRaiseError(pl_error::FormatError, "PSD decoder: Wrong number of channels.");
    }
    if (h.width < 1 || h.height < 1 || h.width > kMaximumSide || h.height > kMaximumSide) {
        PLRaiseError(pl_error::FormatError, "PSD decoder: Wrong picture size.");
    }
    return h;
}

// The section's bytes, after its u32 length. A length past the end of the
// input throws code 11 rather than sending us somewhere wild.
PLMemoryInput ReadSection(PLInput& input) {
    const std::uint32_t length = input.ReadU32BE();
    const std::uint8_t* data = input.ReadNBytes(length);
    return PLMemoryInput(data, length);
}

PsdPalette ReadColourModeData(PLInput& input) {
    PLMemoryInput section = ReadSection(input);
    PsdPalette palette;
    // Only indexed pictures have a palette here; other modes keep other data.
    if (section.GetRemaining() >= palette.rgb.size()) {
        std::memcpy(palette.rgb.data(), section.ReadNBytes(palette.rgb.size()), palette.rgb.size());
        palette.present = true;
    }
    return palette;
}

// Walks the resource blocks; returns the resolution of resource 1005.
void ReadImageResources(PLInput& input, std::int32_t& dpiX, std::int32_t& dpiY) {
    PLMemoryInput section = ReadSection(input);
    while (section.GetRemaining() > 0) {
        if (std::memcmp(section.ReadNBytes(4), "8BIM", 4) != 0) {
            PLRaiseError(pl_error::FormatError,
                         "PSD decoder: Wrong signature in resource data block.");
        }
        const std::uint16_t id = section.ReadU16BE();
        const std::uint8_t nameLength = section.ReadByte();
        const std::string name(reinterpret_cast<const char*>(section.ReadNBytes(nameLength)),
                               nameLength);
        if ((1 + nameLength) % 2 != 0) {
            section.Skip(1);
        }
        PLTrace(kTraceLevel, "Reading resource: " + name + "\n");
        const std::uint32_t size = section.ReadU32BE();
        PLMemoryInput data(section.ReadNBytes(size), size);
        // Some writers leave out the pad byte of the last block.
        if (size % 2 != 0 && section.GetRemaining() > 0) {
            section.Skip(1);
        }
        // 16.16 fixed horizontal dpi, two unit fields, the same vertically; a
        // block too short for them says nothing.
        if (id == 1005 && size >= kResolutionInfoBytes) {
            dpiX = static_cast<std::int32_t>(data.ReadU32BE() >> 16);
            data.Skip(4);
            dpiY = static_cast<std::int32_t>(data.ReadU32BE() >> 16);
        }
    }
}

void SkipLayers(PLInput& input) {
    PLMemoryInput section = ReadSection(input);
    if (section.GetRemaining() == 0) {
        return;
    }
    // Layers are not shown; only their count is traced.
    const std::uint32_t layerInfoLength = section.ReadU32BE();
    if (layerInfoLength >= 2) {
        const auto count = static_cast<std::int16_t>(section.ReadU16BE());
        PLTrace(kTraceLevel, "Number of layers: " + std::to_string(std::abs(int{count})) + "\n");
    }
}

// One PackBits row of exactly `width` samples, written every `stride` bytes.
void UnpackRow(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t stride,
               std::size_t width) {
    std::size_t in = 0;
    std::size_t x = 0;
    while (x < width) {
        if (in >= size) {
            PLRaiseError(pl_error::FormatError, "PSD decoder: Row data too short.");
        }
        const std::uint8_t n = data[in++];
        if (n == 128) {
            continue;
        }
        std::size_t count = 0;
        if (n < 128) {
            count = n + 1u;
            if (count > size - in) {
                PLRaiseError(pl_error::FormatError, "PSD decoder: Row data too short.");
            }
        } else {
            count = 257u - n;
            if (in >= size) {
                PLRaiseError(pl_error::FormatError, "PSD decoder: Row data too short.");
            }
        }
        if (count > width - x) {
            PLRaiseError(pl_error::FormatError, "PSD decoder: Run goes past the end of the row.");
        }
        if (n < 128) {
            for (std::size_t i = 0; i < count; ++i) {
                out[(x + i) * stride] = data[in + i];
            }
            in += count;
        } else {
            const std::uint8_t value = data[in++];
            for (std::size_t i = 0; i < count; ++i) {
                out[(x + i) * stride] = value;
            }
        }
        x += count;
    }
}

void RequireSupportedLayout(const PsdHeader& h) {
    if (h.mode != kModeGreyscale && h.mode != kModeIndexed && h.mode != kModeRgb) {
        PLRaiseError(pl_error::NotSupported, "This PSD color mode is not supported.");
    }
    // 16-bit channels would need their own unpacking; refused rather than
    // shown as noise.
    if (h.bitsPerChannel != 8) {
        PLRaiseError(pl_error::NotSupported, "PSD decoder: Only 8 bits per channel are supported.");
    }
    if (h.mode == kModeRgb && h.channels < 3) {
        PLRaiseError(pl_error::FormatError, "PSD decoder: Wrong number of channels.");
    }
}

// Reads the compression field; only RLE is decoded.
void ReadCompression(PLInput& input) {
    const std::uint16_t compression = input.ReadU16BE();
    switch (compression) {
        case 0:
            PLTrace(kTraceLevel, "No compression\n");
            break;
        case 1:
            PLTrace(kTraceLevel, "RLE compression\n");
            break;
        case 2:
            PLTrace(kTraceLevel, "ZIP compression, no prediction\n");
            break;
        case 3:
            PLTrace(kTraceLevel, "ZIP compression, prediction\n");
            break;
        default:
            PLRaiseError(pl_error::FormatError, "PSD decoder: Compression unknown.");
    }
    if (compression != 1) {
        PLRaiseError(pl_error::FormatError, "PSD decoder: Compression type not supported.");
    }
}

// The table of packed row sizes, u16 per row of every channel.
const std::uint8_t* ReadRowTable(PLInput& input, const PsdHeader& h, int usedChannels) {
    const std::uint64_t tableBytes =
        std::uint64_t{2} * static_cast<std::uint64_t>(h.channels) * h.height;
    // Each row of a channel we show needs two bytes per 128 samples at least;
    // checked before the raster is made so a tiny file cannot ask for a huge one.
    const std::uint64_t smallestRows =
        static_cast<std::uint64_t>(usedChannels) * h.height * 2 * ((h.width + 127) / 128);
    bytes::RequireBytes(input, tableBytes + smallestRows);
    return input.ReadNBytes(static_cast<std::size_t>(tableBytes));
}

void CreateRaster(PLRowTarget& target, const PsdHeader& h, const PsdPalette& palette,
                  std::int32_t dpiX, std::int32_t dpiY) {
    const bool rgb = h.mode == kModeRgb;
    const auto width = static_cast<std::int32_t>(h.width);
    const auto height = static_cast<std::int32_t>(h.height);
    target.Create(width, height, rgb ? 32 : 8, rgb && h.channels > 3);
    target.SetResolution(dpiX, dpiY);
    PLRaster& raster = target.Picture();
    if (h.mode == kModeIndexed && palette.present) {
        for (int i = 0; i < 256; ++i) {
            raster.SetPaletteEntry(i, palette.rgb[static_cast<std::size_t>(i)],
                                   palette.rgb[256 + static_cast<std::size_t>(i)],
                                   palette.rgb[512 + static_cast<std::size_t>(i)], 255);
        }
    } else if (!rgb) {
        raster.SetGreyPalette();
    }
    // Three channels leave alpha unwritten. (A scaled picture's one row gets
    // it as each row is read.)
    if (rgb && h.channels == 3 && !target.Scaling()) {
        for (std::int32_t y = 0; y < height; ++y) {
            std::uint8_t* line = raster.GetLine(y);
            for (std::int32_t x = 0; x < width; ++x) {
                line[4 * x + PL_ALPHA] = 255;
            }
        }
    }
}

// Unpacks the channels shown into the raster; channels past them are not
// read at all.
constexpr std::array<int, 4> kRgbOffsets = {PL_RED, PL_GREEN, PL_BLUE, PL_ALPHA};

void ReadChannels(PLInput& input, const PsdHeader& h, const std::uint8_t* table, int usedChannels,
                  PLRaster& raster) {
    const bool rgb = h.mode == kModeRgb;
    const std::size_t stride = rgb ? 4 : 1;
    const auto height = static_cast<std::int32_t>(h.height);
    for (int c = 0; c < usedChannels; ++c) {
        const std::size_t offset =
            rgb ? static_cast<std::size_t>(kRgbOffsets[static_cast<std::size_t>(c)]) : 0;
        for (std::int32_t y = 0; y < height; ++y) {
            const std::size_t entry =
                static_cast<std::size_t>(c) * h.height + static_cast<std::size_t>(y);
            const std::uint16_t size = bytes::LoadU16BE(table + 2 * entry);
            const std::uint8_t* data = input.ReadNBytes(size);
            UnpackRow(data, size, raster.GetLine(y) + offset, stride, h.width);
        }
    }
}

// Throws the error that reading the channels one after another meets first,
// so that a damaged file fails the same whichever way it was read.
[[noreturn]] void RethrowInChannelOrder(PLInput& input, const PsdHeader& h,
                                        const std::uint8_t* table, int usedChannels) {
    std::vector<std::uint8_t> scratch(h.width);
    const std::size_t rows = static_cast<std::size_t>(usedChannels) * h.height;
    for (std::size_t entry = 0; entry < rows; ++entry) {
        const std::uint16_t size = bytes::LoadU16BE(table + 2 * entry);
        UnpackRow(input.ReadNBytes(size), size, scratch.data(), 1, h.width);
    }
    throw;
}

// For a picture scaled as it is read: every channel's row y in turn, each
// channel read from where its rows start in the input, so rows come whole
// and in order.
void ReadChannelsByRow(PLInput& input, const PsdHeader& h, const std::uint8_t* table,
                       int usedChannels, PLRowTarget& target) {
    const bool rgb = h.mode == kModeRgb;
    const std::size_t stride = rgb ? 4 : 1;
    const auto height = static_cast<std::int32_t>(h.height);
    std::vector<std::size_t> next(static_cast<std::size_t>(usedChannels));
    std::size_t total = 0;
    for (std::size_t c = 0; c < next.size(); ++c) {
        next[c] = total;
        for (std::uint32_t y = 0; y < h.height; ++y) {
            total += bytes::LoadU16BE(table + 2 * (c * h.height + y));
        }
    }
    // Running out of input is found before any row, as reading the channels
    // one after another would find it.
    input.PeekNBytes(total);
    const std::uint8_t* data = input.RemainingBytes();
    std::vector<std::size_t> released = next;
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* line = target.Line(y);
        if (rgb && h.channels == 3) {
            for (std::uint32_t x = 0; x < h.width; ++x) {
                line[4 * x + PL_ALPHA] = 255;
            }
        }
        for (std::size_t c = 0; c < next.size(); ++c) {
            const std::uint16_t size =
                bytes::LoadU16BE(table + 2 * (c * h.height + static_cast<std::size_t>(y)));
            const std::size_t offset = rgb ? static_cast<std::size_t>(kRgbOffsets[c]) : 0;
            UnpackRow(data + next[c], size, line + offset, stride, h.width);
            next[c] += size;
            // Each channel lets go of what it has read, a megabyte at a time.
            if (next[c] - released[c] >= kReleaseStep) {
                input.ConsumedRange(data + released[c], data + next[c]);
                released[c] = next[c];
            }
        }
        target.LineDone(y);
    }
    input.Skip(total);
}

}  // namespace

void PLPsdReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    const PsdHeader h = ReadHeader(input);
    const PsdPalette palette = ReadColourModeData(input);
    std::int32_t dpiX = 0;
    std::int32_t dpiY = 0;
    ReadImageResources(input, dpiX, dpiY);
    SkipLayers(input);
    RequireSupportedLayout(h);
    ReadCompression(input);

    const int usedChannels = h.mode == kModeRgb ? std::min(h.channels, 4) : 1;
    const std::uint8_t* table = ReadRowTable(input, h, usedChannels);
    PLRowTarget target(raster, hint);
    CreateRaster(target, h, palette, dpiX, dpiY);
    if (target.Scaling()) {
        try {
            ReadChannelsByRow(input, h, table, usedChannels, target);
        } catch (const PLTextException&) {
            // Nothing has been read past yet.
            PLMemoryInput rest(input.RemainingBytes(), input.GetRemaining());
            RethrowInChannelOrder(rest, h, table, usedChannels);
        }
        target.Finish();
    } else {
        ReadChannels(input, h, table, usedChannels, raster);
    }
}

}  // namespace velmora::picture
