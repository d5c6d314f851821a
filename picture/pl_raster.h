// The bitmap a picture decodes into. A 32-bit pixel is four bytes B, G, R, A;
// rasters of 8 bits or fewer carry a palette of 2^bpp entries B, G, R, A.
// Row 0 of the line array is the top of the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/pl_object.h"

namespace velmora::picture {

// Byte positions inside a 32-bit pixel and a palette entry.
inline constexpr int PL_BLUE = 0;
inline constexpr int PL_GREEN = 1;
inline constexpr int PL_RED = 2;
inline constexpr int PL_ALPHA = 3;

class PLRasterFilter;

class PLRaster : public PLObject {
public:
    PLRaster(const PLRaster&) = delete;
    PLRaster& operator=(const PLRaster&) = delete;
    ~PLRaster() override = default;

    // (Re)allocates storage for the size and depth (1, 8, 24 or 32 bits).
    // At 8 bits or fewer the palette becomes the grey ramp. Throws code 10
    // "Out of memory creating bitmap." when the storage cannot be had.
    void Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool alpha);

    // Copies another raster, converting to bitsPerPixel (0 or the source's
    // depth keeps the format). Conversion upward to 32 bits is supported.
    void CreateCopy(const PLRaster& source, std::uint16_t bitsPerPixel = 0);

    // Runs the filter; its result replaces this raster.
    void ApplyRasterFilter(const PLRasterFilter& filter);

    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }
    std::uint16_t GetBitsPerPixel() const { return bitsPerPixel_; }
    bool HasAlpha() const { return alpha_; }
    void SetHasAlpha(bool alpha) { alpha_ = alpha; }

    std::uint8_t** GetLineArray() { return lines_.data(); }
    const std::uint8_t* const* GetLineArray() const { return lines_.data(); }
    std::uint8_t* GetLine(std::int32_t y) { return lines_[static_cast<std::size_t>(y)]; }
    const std::uint8_t* GetLine(std::int32_t y) const {
        return lines_[static_cast<std::size_t>(y)];
    }
    // Bytes of pixel data in one row (without any padding the storage adds).
    std::size_t GetBytesPerLine() const { return PackedRowBytes(width_, bitsPerPixel_); }

    // 2^bpp entries of B, G, R, A for 8 bits or fewer; null above.
    std::uint8_t* GetPalette() { return bitsPerPixel_ <= 8 ? PaletteStorage() : nullptr; }
    const std::uint8_t* GetPalette() const {
        return bitsPerPixel_ <= 8 ? const_cast<PLRaster*>(this)->PaletteStorage() : nullptr;
    }
    int GetPaletteEntries() const { return bitsPerPixel_ <= 8 ? 1 << bitsPerPixel_ : 0; }
    void SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                         std::uint8_t alpha);
    // Entry i = i × ⌊255 / (2^bpp − 1)⌋ in blue, green and red, alpha 255.
    void SetGreyPalette();

    std::int32_t GetResolutionX() const { return resolutionX_; }
    std::int32_t GetResolutionY() const { return resolutionY_; }
    void SetResolution(std::int32_t dpiX, std::int32_t dpiY) {
        resolutionX_ = dpiX;
        resolutionY_ = dpiY;
    }

    void Lock() { ++lockCount_; }
    void Unlock() { --lockCount_; }
    int GetLockCount() const { return lockCount_; }

    // Only consulted when converting down to 8 bits, which this library refuses.
    void SetDitherType(int ditherType) { ditherType_ = ditherType; }
    int GetDitherType() const { return ditherType_; }

    // Packed row length: width × bpp / 8, plus one byte for a 1-bit row whose
    // width is not a multiple of 8.
    static std::size_t PackedRowBytes(std::int32_t width, std::uint16_t bitsPerPixel);

    // Largest storage Create accepts, the rows padded to four bytes and the
    // line array counted; larger requests fail as if the memory could not be
    // had. Kept well below what a 32-bit size can count.
    static void SetMaximumBytes(std::size_t bytes);
    static std::size_t GetMaximumBytes();

protected:
    PLRaster() = default;

    // Allocates pixel rows for the size and depth and points the line array
    // at them (row 0 = top). Returns false when the memory cannot be had.
    virtual bool AllocStorage(std::int32_t width, std::int32_t height,
                              std::uint16_t bitsPerPixel) = 0;
    virtual void FreeStorage() = 0;
    virtual std::uint8_t* PaletteStorage() = 0;

    // For the storage classes: fills the line array.
    std::vector<std::uint8_t*>& Lines() { return lines_; }

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint16_t bitsPerPixel_ = 0;
    std::int32_t resolutionX_ = 0;
    std::int32_t resolutionY_ = 0;
    bool alpha_ = false;
    int lockCount_ = 0;
    int ditherType_ = 0;
    std::vector<std::uint8_t*> lines_;
};

// Pixel rows packed without padding, top-down; room for 256 palette entries.
class PLMemoryRaster : public PLRaster {
public:
    // A new raster is 16 × 16 at 8 bits with the grey palette.
    PLMemoryRaster();
    ~PLMemoryRaster() override { FreeStorage(); }

protected:
    bool AllocStorage(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) override;
    void FreeStorage() override;
    std::uint8_t* PaletteStorage() override { return palette_; }

private:
    std::uint8_t* pixels_ = nullptr;
    std::uint8_t palette_[256 * 4] = {};
};

}  // namespace velmora::picture
