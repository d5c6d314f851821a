// The PNG reader: colour types, alpha, grey ramps and palettes.
#include <gtest/gtest.h>
#include <png.h>

#include <memory>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;
using testing::EncodePng;

void ExpectPixel(const PLRaster& raster, int x, int y, int b, int g, int r, int a) {
    const std::uint8_t* p = raster.GetLine(y) + 4 * x;
    EXPECT_EQ(p[0], b) << "blue at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], r) << "red at " << x << "," << y;
    EXPECT_EQ(p[3], a) << "alpha at " << x << "," << y;
}

std::unique_ptr<PLMemoryRaster> Decode(const Bytes& file, int bpp = 0) {
    auto raster = std::make_unique<PLMemoryRaster>();
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), *raster, bpp);
    return raster;
}

TEST(PngReader, RgbBecomesBgrWithOpaqueFillerAndNoAlphaFlag) {
    const Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const Bytes file = EncodePng(2, 2, PNG_COLOR_TYPE_RGB, 8, rgb, {}, 3937);
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, 32);
    EXPECT_EQ(raster.GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster.HasAlpha());
    ExpectPixel(raster, 0, 0, 30, 20, 10, 255);
    ExpectPixel(raster, 1, 0, 60, 50, 40, 255);
    ExpectPixel(raster, 0, 1, 90, 80, 70, 255);
    ExpectPixel(raster, 1, 1, 120, 110, 100, 255);
    EXPECT_EQ(raster.GetResolutionX(), 100);  // 3937 per metre
}

TEST(PngReader, AlphaPicturesSetTheAlphaFlag) {
    const Bytes rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    auto raster = Decode(EncodePng(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, rgba));
    EXPECT_TRUE(raster->HasAlpha());
    ExpectPixel(*raster, 0, 0, 3, 2, 1, 4);
    ExpectPixel(*raster, 1, 0, 7, 6, 5, 8);

    const Bytes greyAlpha = {200, 17, 9, 250};
    raster = Decode(EncodePng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, greyAlpha));
    EXPECT_TRUE(raster->HasAlpha());
    ExpectPixel(*raster, 0, 0, 200, 200, 200, 17);
    ExpectPixel(*raster, 1, 0, 9, 9, 9, 250);
    EXPECT_EQ(raster->GetResolutionX(), 0);
}

TEST(PngReader, GreyPicturesGetARampOverTheirDepth) {
    // 2-bit grey: four levels, packed four pixels a byte.
    const Bytes packed = {0b00011011};
    const auto raster = Decode(EncodePng(4, 1, PNG_COLOR_TYPE_GRAY, 2, packed));
    ASSERT_EQ(raster->GetBitsPerPixel(), 8);
    const std::uint8_t* row = raster->GetLine(0);
    EXPECT_EQ(row[0], 0);
    EXPECT_EQ(row[1], 1);
    EXPECT_EQ(row[2], 2);
    EXPECT_EQ(row[3], 3);
    const std::uint8_t* palette = raster->GetPalette();
    EXPECT_EQ(palette[4 * 1 + PL_RED], 85);
    EXPECT_EQ(palette[4 * 2 + PL_GREEN], 170);
    EXPECT_EQ(palette[4 * 3 + PL_BLUE], 255);
}

TEST(PngReader, PalettePicturesKeepIndicesAndConvertToThePaletteColours) {
    const Bytes palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const Bytes twoPixels = {0x12};  // 4-bit indices 1 and 2
    const auto raster = Decode(EncodePng(2, 1, PNG_COLOR_TYPE_PALETTE, 4, twoPixels, palette));
    ASSERT_EQ(raster->GetBitsPerPixel(), 8);
    EXPECT_EQ(raster->GetLine(0)[0], 1);
    EXPECT_EQ(raster->GetLine(0)[1], 2);
    const auto wide = Decode(EncodePng(2, 1, PNG_COLOR_TYPE_PALETTE, 4, twoPixels, palette), 32);
    ExpectPixel(*wide, 0, 0, 0, 255, 0, 255);
    ExpectPixel(*wide, 1, 0, 255, 0, 0, 255);
}

TEST(PngReader, SixteenBitSamplesAreReducedAndInterlacingIsUndone) {
    const Bytes rgb16 = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x01};
    const auto raster = Decode(EncodePng(2, 1, PNG_COLOR_TYPE_RGB, 16, rgb16));
    ExpectPixel(*raster, 0, 0, 0x9A, 0x56, 0x12, 255);
    ExpectPixel(*raster, 1, 0, 0x80, 0x00, 0xFF, 255);

    Bytes grey(9 * 9);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        grey[i] = static_cast<std::uint8_t>(i * 3);
    }
    const auto interlaced = Decode(EncodePng(9, 9, PNG_COLOR_TYPE_GRAY, 8, grey, {}, 0, true));
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            ASSERT_EQ(interlaced->GetLine(y)[x], (y * 9 + x) * 3);
        }
    }
}

TEST(PngReader, DamagedFilesFailWithCodeTwoOrEleven) {
    const Bytes rgb(3 * 8 * 8, 77);
    Bytes file = EncodePng(8, 8, PNG_COLOR_TYPE_RGB, 8, rgb);
    Bytes badCrc = file;
    badCrc[20] ^= 0xFF;  // inside IHDR
    try {
        Decode(badCrc);
        FAIL() << "a damaged header was accepted";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::FormatError);
        EXPECT_EQ(std::string(e.GetMessage()).rfind("Decoder error: ", 0), 0u);
    }
    file.resize(file.size() / 2);
    try {
        Decode(file);
        FAIL() << "a truncated file was accepted";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::FormatError);
    }
}

}  // namespace
}  // namespace velmora::picture
