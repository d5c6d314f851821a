#include "picture/pl_dib_raster.h"

#include <cstring>
#include <new>

namespace velmora::picture {

namespace {

void PutU32(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
    at[3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace

PLDibRaster::PLDibRaster() {
    Create(16, 16, 8, false);
}

std::size_t PLDibRaster::PaddedRowBytes(std::int32_t width, std::uint16_t bitsPerPixel) {
    const auto bits = static_cast<std::size_t>(width) * bitsPerPixel;
    return (bits + 31) / 32 * 4;
}

bool PLDibRaster::AllocStorage(std::int32_t width, std::int32_t height,
                               std::uint16_t bitsPerPixel) {
    FreeStorage();
    const std::size_t paletteBytes = bitsPerPixel <= 8 ? (std::size_t{4} << bitsPerPixel) : 0;
    const std::size_t stride = PaddedRowBytes(width, bitsPerPixel);
    const std::size_t total =
        kHeaderBytes + paletteBytes + stride * static_cast<std::size_t>(height);
    block_ = new (std::nothrow) std::uint8_t[total];
    if (block_ == nullptr) {
        return false;
    }
    std::memset(block_, 0, kHeaderBytes + paletteBytes);
    PutU32(block_, kHeaderBytes);
    PutU32(block_ + 4, static_cast<std::uint32_t>(width));
    PutU32(block_ + 8, static_cast<std::uint32_t>(height));
    block_[12] = 1;  // planes
    block_[14] = static_cast<std::uint8_t>(bitsPerPixel);
    blockSize_ = total;
    stride_ = stride;
    bits_ = block_ + kHeaderBytes + paletteBytes;
    std::vector<std::uint8_t*>& lines = Lines();
    for (std::int32_t y = 0; y < height; ++y) {
        lines[static_cast<std::size_t>(y)] =
            bits_ + stride * static_cast<std::size_t>(height - 1 - y);
    }
    return true;
}

void PLDibRaster::FreeStorage() {
    delete[] block_;
    block_ = nullptr;
    bits_ = nullptr;
    blockSize_ = 0;
    stride_ = 0;
}

}  // namespace velmora::picture
