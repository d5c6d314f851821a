#include "picture/pl_raster.h"

#include <atomic>
#include <cstring>
#include <limits>
#include <new>

#include "picture/pl_bytes.h"
#include "picture/pl_raster_filter.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

std::atomic<std::size_t> maximumBytes{std::size_t{1} << 30};

void ConvertRowTo32(const std::uint8_t* source, std::uint16_t sourceBits,
                    const std::uint8_t* palette, std::int32_t width, std::uint8_t* target) {
    switch (sourceBits) {
        case 1:
            for (std::int32_t x = 0; x < width; ++x) {
                const bool set = (source[x >> 3] >> (7 - (x & 7))) & 1;
                std::uint8_t* out = target + 4 * x;
                if (palette != nullptr) {
                    std::memcpy(out, palette + (set ? 4 : 0), 4);
                } else {
                    const std::uint8_t grey = set ? 0 : 255;
                    out[PL_BLUE] = out[PL_GREEN] = out[PL_RED] = grey;
                    out[PL_ALPHA] = 255;
                }
            }
            break;
        case 8:
            for (std::int32_t x = 0; x < width; ++x) {
                std::memcpy(target + 4 * x, palette + 4 * source[x], 4);
            }
            break;
        case 24:
            bytes::ExpandBgrRow(source, static_cast<std::size_t>(width), target);
            break;
        default:
            std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
            break;
    }
}

}  // namespace

std::size_t PLRaster::PackedRowBytes(std::int32_t width, std::uint16_t bitsPerPixel) {
    const auto w = static_cast<std::size_t>(width < 0 ? 0 : width);
    if (bitsPerPixel == 1) {
        return w / 8 + (w % 8 != 0 ? 1 : 0);
    }
    return w * bitsPerPixel / 8;
}

void PLRaster::SetMaximumBytes(std::size_t bytes) {
    maximumBytes = bytes;
}

std::size_t PLRaster::GetMaximumBytes() {
    return maximumBytes;
}

void PLRaster::Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                      bool alpha) {
    if (width < 1 || height < 1) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        PLRaiseError(pl_error::NotSupported, "Unsupported bitmap depth.");
    }
    FreeStorage();
    lines_.clear();
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = 0;
    // A row costs its pixels, padded to four bytes as the device-independent
    // kind stores them, and its pointer in the line array.
    const std::size_t rowCost =
        (PackedRowBytes(width, bitsPerPixel) + 3) / 4 * 4 + sizeof(std::uint8_t*);
    const bool tooLarge = rowCost > GetMaximumBytes() / static_cast<std::size_t>(height);
    bool allocated = false;
    if (!tooLarge) {
        try {
            lines_.resize(static_cast<std::size_t>(height));
            allocated = AllocStorage(width, height, bitsPerPixel);
        } catch (const std::bad_alloc&) {
            allocated = false;
        }
    }
    if (!allocated) {
        lines_.clear();
        FreeStorage();
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating bitmap.");
    }
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    alpha_ = alpha;
    if (bitsPerPixel <= 8) {
        SetGreyPalette();
    }
}

void PLRaster::SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                               std::uint8_t alpha) {
    std::uint8_t* palette = GetPalette();
    if (palette == nullptr || index < 0 || index >= GetPaletteEntries()) {
        return;
    }
    std::uint8_t* entry = palette + 4 * index;
    entry[PL_BLUE] = blue;
    entry[PL_GREEN] = green;
    entry[PL_RED] = red;
    entry[PL_ALPHA] = alpha;
}

void PLRaster::SetGreyPalette() {
    const int entries = GetPaletteEntries();
    if (entries < 2) {
        return;
    }
    const int step = 255 / (entries - 1);
    for (int i = 0; i < entries; ++i) {
        const auto grey = static_cast<std::uint8_t>(i * step);
        SetPaletteEntry(i, grey, grey, grey, 255);
    }
}

void PLRaster::CreateCopy(const PLRaster& source, std::uint16_t bitsPerPixel) {
    const std::uint16_t sourceBits = source.GetBitsPerPixel();
    const std::uint16_t targetBits = bitsPerPixel == 0 ? sourceBits : bitsPerPixel;
    if (targetBits != sourceBits && targetBits != 32) {
        PLRaiseError(pl_error::NotSupported, "Conversion to this bit depth is not supported.");
    }
    Create(source.GetWidth(), source.GetHeight(), targetBits, source.HasAlpha());
    SetResolution(source.GetResolutionX(), source.GetResolutionY());
    if (targetBits == sourceBits) {
        if (sourceBits <= 8) {
            std::memcpy(GetPalette(), source.GetPalette(),
                        static_cast<std::size_t>(GetPaletteEntries()) * 4);
        }
        const std::size_t rowBytes = GetBytesPerLine();
        for (std::int32_t y = 0; y < GetHeight(); ++y) {
            std::memcpy(GetLine(y), source.GetLine(y), rowBytes);
        }
        return;
    }
    for (std::int32_t y = 0; y < GetHeight(); ++y) {
        ConvertRowTo32(source.GetLine(y), sourceBits, source.GetPalette(), GetWidth(), GetLine(y));
    }
}

void PLRaster::ApplyRasterFilter(const PLRasterFilter& filter) {
    PLMemoryRaster result;
    filter.Apply(*this, result);
    CreateCopy(result);
}

PLMemoryRaster::PLMemoryRaster() {
    Create(16, 16, 8, false);
}

bool PLMemoryRaster::AllocStorage(std::int32_t width, std::int32_t height,
                                  std::uint16_t bitsPerPixel) {
    const std::size_t rowBytes = PackedRowBytes(width, bitsPerPixel);
    const std::size_t total = rowBytes * static_cast<std::size_t>(height);
    pixels_ = new (std::nothrow) std::uint8_t[total == 0 ? 1 : total];
    if (pixels_ == nullptr) {
        return false;
    }
    std::vector<std::uint8_t*>& lines = Lines();
    for (std::int32_t y = 0; y < height; ++y) {
        lines[static_cast<std::size_t>(y)] = pixels_ + rowBytes * static_cast<std::size_t>(y);
    }
    return true;
}

void PLMemoryRaster::FreeStorage() {
    delete[] pixels_;
    pixels_ = nullptr;
}

}  // namespace velmora::picture
