// A raster laid out as a Windows device-independent bitmap: one block with a
// 40-byte BITMAPINFOHEADER, the palette (up to 8 bits per pixel) and the
// pixel rows, each padded to 4 bytes and stored bottom-up. Painting and the
// clipboard copy are in win32/pl_dib_painting.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/pl_raster.h"

namespace velmora::picture {

class PLDibRaster : public PLRaster {
public:
    static constexpr std::size_t kHeaderBytes = 40;

    // A new raster is 16 × 16 at 8 bits with the grey palette.
    PLDibRaster();
    ~PLDibRaster() override { FreeStorage(); }

    // The whole block: header, palette, rows.
    const std::uint8_t* GetBlock() const { return block_; }
    std::size_t GetBlockSize() const { return blockSize_; }
    // The first stored row (the bottom of the picture).
    const std::uint8_t* GetBits() const { return bits_; }
    std::size_t GetStride() const { return stride_; }

    static std::size_t PaddedRowBytes(std::int32_t width, std::uint16_t bitsPerPixel);

protected:
    bool AllocStorage(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) override;
    void FreeStorage() override;
    std::uint8_t* PaletteStorage() override {
        return block_ != nullptr ? block_ + kHeaderBytes : emptyPalette_;
    }

private:
    std::uint8_t* block_ = nullptr;
    std::size_t blockSize_ = 0;
    std::uint8_t* bits_ = nullptr;
    std::size_t stride_ = 0;
    std::uint8_t emptyPalette_[4] = {};
};

}  // namespace velmora::picture
