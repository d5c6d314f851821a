// EXIF orientation: pictures turned as the viewer sees them, box hints included.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_dib_raster.h"
#include "picture/pl_orientation.h"
#include "picture/pl_raster.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;

constexpr int kWidth = 48;
constexpr int kHeight = 32;

// Mid grey, with a 16 x 16 square in the stored top-left corner: red in a
// colour picture (3 components), light in a grey one.
Bytes CornerPicture(int width, int height, int components) {
    Bytes samples(static_cast<std::size_t>(width) * height * components, 128);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = &samples[(static_cast<std::size_t>(y) * width + x) * components];
            p[0] = 230;
            if (components == 3) {
                p[1] = 20;
                p[2] = 20;
            }
        }
    }
    return samples;
}

template <typename Raster = PLMemoryRaster>
std::unique_ptr<Raster> DecodeWithExif(const Bytes& exif, int width, int height, int components = 3,
                                       const PLDecodeHint* hint = nullptr) {
    const Bytes file = testing::InsertJpegSegment(
        testing::EncodeJpeg(width, height, components, CornerPicture(width, height, components),
                            95),
        0xE1, exif);
    auto raster = std::make_unique<Raster>();
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), *raster, 32, hint);
    return raster;
}

bool IsMarked(const PLRaster& raster, int x, int y) {
    return raster.GetLine(y)[4 * x + PL_RED] > 180;
}

TEST(ExifOrientation, PicturesArriveAsTheViewerSeesThem) {
    struct Case {
        std::uint16_t value;
        std::uint32_t directoryOffset;
        std::uint16_t entries;
        bool right;  // where the stored top-left corner is seen
        bool bottom;
        bool sidesSwapped;
    };
    const Case cases[] = {
        {1, 8, 2, false, false, false},    {2, 8, 2, true, false, false},
        {3, 8, 2, true, true, false},      {4, 8, 2, false, true, false},
        {5, 8, 2, false, false, true},     {6, 8, 2, true, false, true},
        {7, 8, 2, true, true, true},       {8, 8, 2, false, true, true},
        {9, 8, 2, false, false, false},     // unknown value: as stored
        {6, 5000, 2, false, false, false},  // IFD beyond the segment: as stored
        {6, 8, 65535, true, false, true},   // entries the segment holds are read
    };
    for (const Case& c : cases) {
        for (const int variant : {0, 1, 2, 3}) {
            const bool bigEndian = variant & 1;
            const int components = variant & 2 ? 1 : 3;
            SCOPED_TRACE("value " + std::to_string(c.value) + " offset " +
                         std::to_string(c.directoryOffset) + " entries " +
                         std::to_string(c.entries) + (bigEndian ? " MM" : " II") +
                         (components == 1 ? " grey" : " colour"));
            const auto raster = DecodeWithExif(
                testing::ExifOrientationSegment(c.value, bigEndian, c.directoryOffset, c.entries),
                kWidth, kHeight, components);
            const int width = c.sidesSwapped ? kHeight : kWidth;
            const int height = c.sidesSwapped ? kWidth : kHeight;
            ASSERT_EQ(raster->GetWidth(), width);
            ASSERT_EQ(raster->GetHeight(), height);
            const int x = c.right ? width - 5 : 4;
            const int y = c.bottom ? height - 5 : 4;
            EXPECT_TRUE(IsMarked(*raster, x, y));
            EXPECT_FALSE(IsMarked(*raster, width - 1 - x, height - 1 - y));
        }
    }
}

// Stored 64 x 32, seen 32 x 64: fitted into a 16 x 32 box it needs a half.
// Fitting the stored picture would take a quarter (16 x 8).
TEST(ExifOrientation, TheBoxHintFitsThePictureAsSeen) {
    const PLDecodeHint hint{16, 32, true};
    const auto raster = DecodeWithExif(testing::ExifOrientationSegment(6, false), 64, 32, 3, &hint);
    EXPECT_EQ(raster->GetWidth(), 16);
    EXPECT_EQ(raster->GetHeight(), 32);
    EXPECT_TRUE(IsMarked(*raster, 13, 2));
}

// The orientation entry's value lies just past the segment's stated end: the
// bytes are in the file, but not in the segment.
TEST(ExifOrientation, NothingPastTheSegmentIsRead) {
    const Bytes exif = testing::ExifOrientationSegment(6, true);
    for (const std::size_t cut : {0, 8}) {
        const std::size_t length = exif.size() - cut + 2;
        Bytes file = {0xFF,
                      0xD8,
                      0xFF,
                      0xE1,
                      static_cast<std::uint8_t>(length >> 8),
                      static_cast<std::uint8_t>(length)};
        file.insert(file.end(), exif.begin(), exif.end());
        EXPECT_EQ(ReadJpegOrientation(file.data(), file.size()),
                  cut == 0 ? PLOrientation::RotateClockwise : PLOrientation::Upright);
    }
}

}  // namespace
}  // namespace velmora::picture
