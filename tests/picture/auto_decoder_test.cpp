// Recognising a picture's format by content and decoding it through the right reader.
#include "picture/pl_auto_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "picture/pl_format.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;
using testing::TempFile;

struct Failure {
    int code = 0;
    std::string message;
};

Failure DecodeFailure(const Bytes& file, int bpp = 32) {
    PLMemoryRaster raster;
    try {
        PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, bpp);
    } catch (const PLTextException& e) {
        return {e.GetCode(), e.GetMessage()};
    }
    return {};
}

Bytes WithPrefix(std::initializer_list<std::uint8_t> prefix, std::size_t size) {
    Bytes file(size, 0x55);
    std::copy(prefix.begin(), prefix.end(), file.begin());
    return file;
}

TEST(Recognition, EmptyAndTinyInputsAreUnknown) {
    for (const Bytes& file : {Bytes{}, Bytes{1, 2, 3}}) {
        const Failure f = DecodeFailure(file);
        EXPECT_EQ(f.code, pl_error::UnknownFileType);
        EXPECT_EQ(f.message, "Decoder error: Unknown file type.\n");
    }
    PLMemoryRaster raster;
    EXPECT_THROW(PLAutoDecoder().DecodeMemoryToRaster(nullptr, 0, raster, 32), std::exception);
}

TEST(Recognition, FormatsWithoutAReaderAreRefused) {
    Bytes pict(600, 0);
    pict[522] = 0x00;
    pict[523] = 0x11;
    pict[524] = 0x02;
    pict[525] = 0xFF;
    const Bytes eps = [] {
        Bytes b(64, 0);
        b[0] = 0xC5, b[1] = 0xD0, b[2] = 0xD3, b[3] = 0xC6;
        b[20] = 1;
        b[24] = 1;
        return b;
    }();
    for (const Bytes& file :
         {WithPrefix({'G', 'I', 'F', '8', '9', 'a'}, 64), WithPrefix({'I', 'I', 0x2A, 0x00}, 64),
          WithPrefix({'M', 'M', 0x00, 0x2A}, 64), pict, eps, WithPrefix({'P', '5', '\n'}, 64),
          WithPrefix({'P', '6', '\n'}, 64)}) {
        const Failure f = DecodeFailure(file);
        EXPECT_EQ(f.code, pl_error::NotSupported);
        EXPECT_EQ(f.message, "Decoder error: Library not compiled for this file type.\n");
    }
}

TEST(Recognition, ByContentInTheGivenOrder) {
    auto recognise = [](const Bytes& b) { return RecognizeFormat(b.data(), b.size(), b.size()); };
    EXPECT_EQ(recognise(WithPrefix({'B', 'M'}, 64)), PLFormat::Bmp);
    EXPECT_EQ(recognise(WithPrefix({'B', 'A'}, 64)), PLFormat::Bmp);
    EXPECT_EQ(recognise(WithPrefix({'C', 'I'}, 64)), PLFormat::Bmp);
    EXPECT_EQ(recognise(WithPrefix({'C', 'P'}, 64)), PLFormat::Bmp);
    EXPECT_EQ(recognise(WithPrefix({'I', 'C'}, 64)), PLFormat::Bmp);
    EXPECT_EQ(recognise(WithPrefix({0xFF, 0xD8, 0xFF}, 64)), PLFormat::Jpeg);
    EXPECT_EQ(recognise(WithPrefix({0x89, 'P', 'N', 'G'}, 64)), PLFormat::Png);
    EXPECT_EQ(recognise(WithPrefix({0x0A, 5, 1}, 64)), PLFormat::Pcx);
    EXPECT_EQ(recognise(WithPrefix({'8', 'B', 'P', 'S'}, 64)), PLFormat::Psd);
    EXPECT_EQ(recognise(WithPrefix({'P', '2'}, 64)), PLFormat::Pgm);
    EXPECT_EQ(recognise(WithPrefix({'P', '3'}, 64)), PLFormat::Ppm);
    Bytes webp = WithPrefix({'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'E', 'B', 'P'}, 64);
    EXPECT_EQ(recognise(webp), PLFormat::WebP);
    webp[11] = 'X';
    EXPECT_EQ(recognise(webp), PLFormat::Unknown);

    // The TGA heuristic: map type 0, image type 2, map entry size 0, depth 24,
    // whatever the rest says.
    Bytes tga(64, 0);
    tga[0] = 'X';
    tga[2] = 2;
    tga[16] = 24;
    EXPECT_EQ(recognise(tga), PLFormat::Tga);
    tga[16] = 23;
    EXPECT_NE(recognise(tga), PLFormat::Tga);

    // PICT looks at bytes 522 to 525 only when the input is longer than 540.
    Bytes pict(541, 0);
    pict[522] = 0x11, pict[523] = 0x01, pict[524] = 0x01, pict[525] = 0x00;
    pict[16] = 1;  // keep it from passing for TGA
    EXPECT_EQ(recognise(pict), PLFormat::Pict);
    pict.resize(540);
    EXPECT_EQ(recognise(pict), PLFormat::Unknown);
    // A short buffer reads as zeros past its end.
    const std::uint8_t two[2] = {'B', 'M'};
    EXPECT_EQ(RecognizeFormat(two, 2, 2), PLFormat::Bmp);
}

// Remembers what it was handed and gives a 1 × 1 picture.
class RecordingFallback : public PLFallbackReader {
public:
    void Decode(PLInput& input, const std::string& path, PLRaster& raster,
                const PLDecodeHint*) override {
        ++calls;
        lastPath = path;
        lastSize = input.GetRemaining();
        raster.Create(1, 1, 32, false);
    }
    int calls = 0;
    std::string lastPath;
    std::size_t lastSize = 0;
};

TEST(AutoDecoder, OnlyFilesNoBuiltInReaderClaimsGoToTheFallback) {
    const Bytes png = testing::EncodePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6});
    const struct {
        Bytes file;
        int calls;
    } cases[] = {{WithPrefix({'G', 'I', 'F', '8', '9', 'a'}, 64), 1},
                 {WithPrefix({'I', 'I', 0x2A, 0x00}, 64), 1},
                 {WithPrefix({0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'}, 64), 1},
                 {png, 0}};
    for (const auto& c : cases) {
        RecordingFallback fallback;
        PLMemoryRaster raster;
        PLAutoDecoder(&fallback).DecodeMemoryToRaster(c.file.data(), c.file.size(), raster, 32);
        EXPECT_EQ(fallback.calls, c.calls);
        EXPECT_EQ(raster.GetWidth(), c.calls == 1 ? 1 : 2);
    }
    RecordingFallback fallback;
    const TempFile file("photo.heic", WithPrefix({0, 0, 0, 0x18, 'f', 't', 'y', 'p'}, 40));
    PLMemoryRaster raster;
    PLAutoDecoder(&fallback).DecodeFileToRaster(file.Path(), raster, 32);
    EXPECT_EQ(fallback.lastPath, file.Path());
    EXPECT_EQ(fallback.lastSize, 40u);
}

TEST(AutoDecoder, APngNamedBmpIsDecodedAsPng) {
    const Bytes rgb = {1, 2, 3};
    TempFile file("holiday.bmp", testing::EncodePng(1, 1, PNG_COLOR_TYPE_RGB, 8, rgb));
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeFileToRaster(file.Path(), raster, 32);
    EXPECT_EQ(raster.GetLine(0)[PL_RED], 1);
    EXPECT_EQ(raster.GetLine(0)[PL_BLUE], 3);
}

TEST(AutoDecoder, MissingFilesAndFoldersHaveTheirOwnCodes) {
    TempFile existing("present.png", Bytes{0});
    const std::string folder = existing.Path().substr(0, existing.Path().rfind('/'));
    PLMemoryRaster raster;
    try {
        PLAutoDecoder().DecodeFileToRaster(folder + "/absent.png", raster, 32);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::OpenFailed);
        EXPECT_EQ(std::string(e.GetMessage()),
                  "Decoder error: Opening " + folder + "/absent.png failed\n");
    }
    try {
        PLAutoDecoder().DecodeFileToRaster(folder + "/no-such-folder/absent.png", raster, 32);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::PathNotFound);
    }
}

TEST(AutoDecoder, EightBitPicturesRequestedAtThirtyTwoBitsTakeTheirPaletteEntries) {
    const Bytes palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    const Bytes indices = {2, 0, 1};
    const Bytes file = testing::EncodePng(3, 1, PNG_COLOR_TYPE_PALETTE, 8, indices, palette);
    PLMemoryRaster eight;
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), eight, 0);
    ASSERT_EQ(eight.GetBitsPerPixel(), 8);
    PLMemoryRaster wide;
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), wide, 32);
    ASSERT_EQ(wide.GetBitsPerPixel(), 32);
    for (int x = 0; x < 3; ++x) {
        const std::uint8_t* entry = eight.GetPalette() + 4 * eight.GetLine(0)[x];
        EXPECT_EQ(0, std::memcmp(wide.GetLine(0) + 4 * x, entry, 4)) << x;
    }
}

TEST(AutoDecoder, ADepthBelowTheFilesIsRefused) {
    const Bytes rgb = {1, 2, 3};
    const Failure f = DecodeFailure(testing::EncodePng(1, 1, PNG_COLOR_TYPE_RGB, 8, rgb), 8);
    EXPECT_EQ(f.code, pl_error::NotSupported);
    EXPECT_EQ(f.message, "Decoder error: Image bit depth doesn't match request.\n");
}

TEST(Input, ReadingPastTheEndThrowsElevenAndProgressCountsKilobytes) {
    Bytes data(5000, 1);
    PLMemoryInput input(data.data(), data.size());
    EXPECT_EQ(input.GetName(), "Mem");
    std::vector<double> reports;
    input.SetProgressNotifier([&](double done) { reports.push_back(done); });
    input.Skip(1000);
    EXPECT_TRUE(reports.empty());
    input.Skip(100);   // crosses 1,024
    input.Skip(3000);  // crosses 2,048, 3,072 and 4,096 in one read
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_DOUBLE_EQ(reports[0], 1100.0 / 5000.0);
    EXPECT_EQ(input.ReadU16LE(), 0x0101);
    try {
        input.ReadNBytes(input.GetRemaining() + 1);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::EndOfFile);
        EXPECT_EQ(std::string(e.GetMessage()), "End of file reached while decoding.\n");
    }
    EXPECT_NO_THROW(input.ReadNBytes(input.GetRemaining()));
}

TEST(Trace, IsOffByDefaultAndAppendsWhenConfigured) {
    TempFile trace("trace.txt", Bytes{});
    std::remove(trace.Path().c_str());
    DecodeFailure(Bytes{1, 2, 3});
    EXPECT_FALSE(std::ifstream(trace.Path()).good());

    PLSetTraceConfig(5, trace.Path());
    DecodeFailure(Bytes{1, 2, 3});
    PLSetTraceConfig(0, "");
    std::ifstream in(trace.Path());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("--- Decoding from memory at "), std::string::npos);
    EXPECT_NE(text.find("Decoder error: Unknown file type.\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora::picture
