// The device-independent bitmap raster: header, palette and padded bottom-up rows.
#include "picture/pl_dib_raster.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::picture {
namespace {

std::uint32_t U32(const std::uint8_t* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, 4);
    return value;
}

TEST(DibRaster, OneBlockWithHeaderPaletteAndPaddedBottomUpRows) {
    PLDibRaster raster;
    raster.Create(3, 2, 8, false);
    ASSERT_EQ(raster.GetBlockSize(), 40u + 256 * 4 + 2 * 4);
    const std::uint8_t* block = raster.GetBlock();
    EXPECT_EQ(U32(block), 40u);
    EXPECT_EQ(U32(block + 4), 3u);
    EXPECT_EQ(U32(block + 8), 2u);
    EXPECT_EQ(block[12], 1);
    EXPECT_EQ(block[14], 8);
    for (int i = 16; i < 40; ++i) {
        ASSERT_EQ(block[i], 0) << i;
    }
    // The grey ramp lives in the block as the palette.
    EXPECT_EQ(block[40 + 4 * 7], 7);
    // Row 0 of the picture is the last stored row.
    EXPECT_EQ(raster.GetLine(1), raster.GetBits());
    EXPECT_EQ(raster.GetLine(0), raster.GetBits() + 4);
    EXPECT_EQ(raster.GetStride(), 4u);

    raster.Create(5, 3, 32, true);
    EXPECT_EQ(raster.GetBlockSize(), 40u + 5 * 4 * 3);
    EXPECT_EQ(raster.GetPalette(), nullptr);
    raster.Create(3, 1, 24, false);
    EXPECT_EQ(raster.GetStride(), 12u);
    raster.Create(33, 1, 1, false);
    EXPECT_EQ(raster.GetStride(), 8u);
    EXPECT_EQ(raster.GetBlockSize(), 40u + 2 * 4 + 8);
}

}  // namespace
}  // namespace velmora::picture
