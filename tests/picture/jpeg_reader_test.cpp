// The JPEG reader: colour, CMYK, grey, truncated files and scaled decoding.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;
using testing::EncodeJpeg;

// Left half red, right half blue, in R, G, B rows.
Bytes SplitPicture(int width, int height) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const bool left = x < width / 2;
            p[0] = left ? 220 : 10;
            p[1] = 30;
            p[2] = left ? 10 : 230;
        }
    }
    return rgb;
}

std::unique_ptr<PLMemoryRaster> Decode(const Bytes& file, const PLDecodeHint* hint = nullptr,
                                       int bpp = 0) {
    auto raster = std::make_unique<PLMemoryRaster>();
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), *raster, bpp, hint);
    return raster;
}

bool Near(int actual, int expected, int tolerance = 12) {
    return std::abs(actual - expected) <= tolerance;
}

TEST(JpegReader, ColourPicturesArriveAsBgrWithoutAlpha) {
    const auto raster = Decode(EncodeJpeg(64, 32, 3, SplitPicture(64, 32), 95, 300, 200));
    ASSERT_EQ(raster->GetWidth(), 64);
    ASSERT_EQ(raster->GetHeight(), 32);
    ASSERT_EQ(raster->GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster->HasAlpha());
    const std::uint8_t* left = raster->GetLine(16) + 4 * 8;
    const std::uint8_t* right = raster->GetLine(16) + 4 * 56;
    EXPECT_TRUE(Near(left[PL_RED], 220)) << int(left[PL_RED]);
    EXPECT_TRUE(Near(left[PL_BLUE], 10)) << int(left[PL_BLUE]);
    EXPECT_TRUE(Near(right[PL_RED], 10)) << int(right[PL_RED]);
    EXPECT_TRUE(Near(right[PL_BLUE], 230)) << int(right[PL_BLUE]);
    EXPECT_EQ(raster->GetResolutionX(), 300);
    EXPECT_EQ(raster->GetResolutionY(), 200);
}

// Stored samples 40, 160, 240, 200: with the Adobe marker they are 255 - ink
// (R = 40 × 200 / 255), without it the ink itself (R = 215 × 55 / 255).
TEST(JpegReader, CmykIsInvertedOnlyWhenTheAdobeMarkerSaysSo) {
    using testing::AdobeMarker;
    using testing::CmykStorage;
    struct Case {
        CmykStorage storage;
        AdobeMarker marker;
        int blue, green, red;
    };
    const Case cases[] = {
        {CmykStorage::Cmyk, AdobeMarker::Written, 188, 125, 31},
        {CmykStorage::Ycck, AdobeMarker::Written, 188, 125, 31},
        {CmykStorage::Cmyk, AdobeMarker::LeftOut, 3, 20, 46},
    };
    Bytes cmyk;
    for (int i = 0; i < 16 * 16; ++i) {
        cmyk.insert(cmyk.end(), {40, 160, 240, 200});
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const auto raster =
            Decode(testing::EncodeCmykJpeg(16, 16, cmyk, c.storage, c.marker), nullptr, 32);
        const std::uint8_t* p = raster->GetLine(8) + 4 * 8;
        EXPECT_TRUE(Near(p[PL_BLUE], c.blue, 4)) << "case " << i << ": " << int(p[PL_BLUE]);
        EXPECT_TRUE(Near(p[PL_GREEN], c.green, 4)) << "case " << i << ": " << int(p[PL_GREEN]);
        EXPECT_TRUE(Near(p[PL_RED], c.red, 4)) << "case " << i << ": " << int(p[PL_RED]);
    }
}

TEST(JpegReader, GreyPicturesArriveAsEightBitsWithTheGreyRampAndDefaultResolution) {
    Bytes grey(32 * 16);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        grey[i] = static_cast<std::uint8_t>((i % 32) * 8);
    }
    const auto raster = Decode(EncodeJpeg(32, 16, 1, grey, 100));
    ASSERT_EQ(raster->GetBitsPerPixel(), 8);
    EXPECT_TRUE(Near(raster->GetLine(5)[20], 160, 6));
    EXPECT_EQ(raster->GetPalette()[4 * 200 + PL_GREEN], 200);
    EXPECT_EQ(raster->GetResolutionX(), 72);  // no density given
    const auto wide = Decode(EncodeJpeg(32, 16, 1, grey, 100), nullptr, 32);
    const std::uint8_t* p = wide->GetLine(5) + 4 * 20;
    EXPECT_EQ(p[PL_RED], raster->GetLine(5)[20]);
    EXPECT_EQ(p[PL_ALPHA], 255);
}

TEST(JpegReader, TruncatedFilesDecodeAsFarAsTheyGo) {
    const Bytes whole = EncodeJpeg(64, 64, 3, SplitPicture(64, 64), 90);
    // Cut halfway through the entropy-coded data after the start of scan.
    std::size_t scan = 0;
    for (std::size_t i = 0; i + 1 < whole.size(); ++i) {
        if (whole[i] == 0xFF && whole[i + 1] == 0xDA) {
            scan = i;
            break;
        }
    }
    ASSERT_GT(scan, 0u);
    const std::size_t keep = scan + (whole.size() - scan) / 2;
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
    const auto raster = Decode(cut);
    ASSERT_EQ(raster->GetWidth(), 64);
    ASSERT_EQ(raster->GetHeight(), 64);
    // The top still shows the picture; the missing bottom is filled uniformly.
    const std::uint8_t* top = raster->GetLine(2) + 4 * 4;
    EXPECT_TRUE(Near(top[PL_RED], 220));
    const std::uint8_t* bottomLeft = raster->GetLine(62) + 4 * 4;
    const std::uint8_t* bottomRight = raster->GetLine(62) + 4 * 60;
    EXPECT_EQ(bottomLeft[PL_RED], bottomRight[PL_RED]);
    EXPECT_EQ(bottomLeft[PL_BLUE], bottomRight[PL_BLUE]);
}

TEST(JpegReader, ProgressiveFilesDecode) {
    const auto raster = Decode(EncodeJpeg(40, 24, 3, SplitPicture(40, 24), 90, 0, 0, true));
    EXPECT_EQ(raster->GetWidth(), 40);
    EXPECT_TRUE(Near(raster->GetLine(12)[4 * 30 + PL_BLUE], 230));
}

TEST(JpegReader, ABoxHintDecodesAsSmallAsTheUseAllows) {
    const Bytes file = EncodeJpeg(800, 600, 3, SplitPicture(800, 600), 80);
    struct Case {
        PLDecodeHint hint;
        int width;
        int height;
    };
    for (const Case& c : {
             Case{{100, 100, true}, 100, 75},     // fitted 100 x 75: an eighth covers it
             Case{{200, 200, true}, 200, 150},    // a quarter
             Case{{201, 200, true}, 400, 300},    // fitted 201 x 151 needs a half
             Case{{256, 256, false}, 400, 300},   // stretched over the box: a half
             Case{{512, 512, false}, 800, 600},   // a half would not cover 512 rows
             Case{{1024, 1024, true}, 800, 600},  // larger than the picture
             Case{{0, 0, true}, 800, 600},        // no box
         }) {
        SCOPED_TRACE(std::to_string(c.hint.boxWidth) + "x" + std::to_string(c.hint.boxHeight));
        const auto raster = Decode(file, &c.hint);
        EXPECT_EQ(raster->GetWidth(), c.width);
        EXPECT_EQ(raster->GetHeight(), c.height);
    }
    const auto plain = Decode(file);
    EXPECT_EQ(plain->GetWidth(), 800);
}

TEST(JpegReader, ScaledDecodingKeepsTheColours) {
    const PLDecodeHint hint{64, 64, true};
    const auto raster = Decode(EncodeJpeg(512, 256, 3, SplitPicture(512, 256), 90), &hint);
    ASSERT_EQ(raster->GetWidth(), 64);
    const std::uint8_t* left = raster->GetLine(16) + 4 * 10;
    const std::uint8_t* right = raster->GetLine(16) + 4 * 54;
    EXPECT_TRUE(Near(left[PL_RED], 220));
    EXPECT_TRUE(Near(right[PL_BLUE], 230));
}

TEST(JpegReader, BrokenDataFailsWithCodeSixAndLibjpegsMessage) {
    Bytes file = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x00, 0x00};
    try {
        Decode(file);
        FAIL() << "a broken frame header was accepted";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::NotSupported);
        const std::string message = e.GetMessage();
        ASSERT_FALSE(message.empty());
        EXPECT_EQ(message.back(), '\n');
    }
}

TEST(JpegReader, ReportsProgressThroughTheInput) {
    const Bytes file = EncodeJpeg(128, 128, 3, SplitPicture(128, 128), 90);
    PLMemoryInput input(file.data(), file.size());
    std::vector<double> reports;
    input.SetProgressNotifier([&](double done) { reports.push_back(done); });
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeInputToRaster(input, raster, 32, nullptr);
    ASSERT_FALSE(reports.empty());
    for (std::size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i], reports[i - 1]);
    }
    EXPECT_LE(reports.back(), 1.0);
}

}  // namespace
}  // namespace velmora::picture
