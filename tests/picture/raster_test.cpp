// The raster: new rasters, packed rows, depth conversion and impossible sizes.
#include "picture/pl_raster.h"

#include <gtest/gtest.h>

#include <cstring>

#include "picture/pl_text_exception.h"

namespace velmora::picture {
namespace {

TEST(Raster, ANewRasterIsSixteenSquareAtEightBitsWithTheGreyRamp) {
    PLMemoryRaster raster;
    EXPECT_EQ(raster.GetWidth(), 16);
    EXPECT_EQ(raster.GetHeight(), 16);
    EXPECT_EQ(raster.GetBitsPerPixel(), 8);
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* entry = raster.GetPalette() + 4 * i;
        ASSERT_EQ(entry[PL_RED], i);
        ASSERT_EQ(entry[PL_BLUE], i);
        ASSERT_EQ(entry[PL_ALPHA], 255);
    }
}

TEST(Raster, PackedRowsAndOneBitRamp) {
    EXPECT_EQ(PLRaster::PackedRowBytes(3, 1), 1u);
    EXPECT_EQ(PLRaster::PackedRowBytes(8, 1), 1u);
    EXPECT_EQ(PLRaster::PackedRowBytes(9, 1), 2u);
    EXPECT_EQ(PLRaster::PackedRowBytes(5, 24), 15u);
    PLMemoryRaster raster;
    raster.Create(9, 2, 1, false);
    EXPECT_EQ(raster.GetLine(1) - raster.GetLine(0), 2);
    EXPECT_EQ(raster.GetPalette()[0], 0);
    EXPECT_EQ(raster.GetPalette()[4], 255);
}

TEST(Raster, ConversionToThirtyTwoBitsFromEveryDepth) {
    PLMemoryRaster one;
    one.Create(10, 1, 1, false);
    one.SetPaletteEntry(0, 1, 2, 3, 255);
    one.SetPaletteEntry(1, 9, 8, 7, 255);
    one.GetLine(0)[0] = 0b10100000;
    one.GetLine(0)[1] = 0b01000000;  // pixel 9
    one.SetResolution(300, 150);
    PLMemoryRaster wide;
    wide.CreateCopy(one, 32);
    EXPECT_EQ(wide.GetResolutionX(), 300);
    EXPECT_EQ(wide.GetResolutionY(), 150);
    const std::uint8_t* row = wide.GetLine(0);
    EXPECT_EQ(row[0 + PL_RED], 9);
    EXPECT_EQ(row[4 + PL_RED], 1);
    EXPECT_EQ(row[8 + PL_BLUE], 7);
    EXPECT_EQ(row[36 + PL_RED], 9);
    EXPECT_EQ(row[32 + PL_RED], 1);

    PLMemoryRaster rgb;
    rgb.Create(2, 1, 24, false);
    const std::uint8_t bgr[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(rgb.GetLine(0), bgr, 6);
    wide.CreateCopy(rgb, 32);
    const std::uint8_t expected[8] = {1, 2, 3, 255, 4, 5, 6, 255};
    EXPECT_EQ(0, std::memcmp(wide.GetLine(0), expected, 8));

    PLMemoryRaster alpha;
    alpha.Create(1, 1, 32, true);
    std::memcpy(alpha.GetLine(0), expected, 4);
    PLMemoryRaster copy;
    copy.CreateCopy(alpha);
    EXPECT_TRUE(copy.HasAlpha());
    EXPECT_EQ(0, std::memcmp(copy.GetLine(0), expected, 4));
}

TEST(Raster, RefusesImpossibleSizesCleanly) {
    PLMemoryRaster raster;
    try {
        raster.Create(0x7FFFFFFF, 0x7FFFFFFF, 32, false);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::OutOfMemory);
        EXPECT_EQ(std::string(e.GetMessage()), "Decoder error: Out of memory creating bitmap.\n");
    }
    EXPECT_THROW(raster.Create(0, 10, 32, false), PLTextException);
    EXPECT_THROW(raster.Create(10, -1, 32, false), PLTextException);
    // Still usable afterwards.
    raster.Create(2, 2, 32, false);
    EXPECT_EQ(raster.GetWidth(), 2);
}

TEST(Raster, TheSizeCapCountsPaddedRowsAndTheLineArray) {
    const std::size_t saved = PLRaster::GetMaximumBytes();
    PLRaster::SetMaximumBytes(1000);
    PLMemoryRaster raster;
    // 100 bytes of pixels, but 100 rows of 4 padded bytes and a pointer each.
    try {
        raster.Create(1, 100, 8, false);
        ADD_FAILURE() << "a raster past the cap was made";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::OutOfMemory);
    }
    EXPECT_NO_THROW(raster.Create(1, 80, 8, false));
    PLRaster::SetMaximumBytes(saved);
}

}  // namespace
}  // namespace velmora::picture
