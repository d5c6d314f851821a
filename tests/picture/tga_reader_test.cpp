// The TGA reader: row order, descriptor bits, ID field and compression.
#include "picture/pl_targa_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"
#include "tests/picture/reader_failures.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Failure;

using Bytes = std::vector<std::uint8_t>;
using Bgra = std::array<std::uint8_t, 4>;

struct TgaFields {
    std::uint8_t idLength = 0;
    std::uint8_t mapType = 0;
    std::uint8_t imageType = 2;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntrySize = 0;
    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::uint8_t depth = 24;
    std::uint8_t descriptor = 0;
};

void PutU16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Append(Bytes& b, std::initializer_list<std::uint8_t> bytes) {
    b.insert(b.end(), bytes.begin(), bytes.end());
}

Bytes TgaHeader(const TgaFields& f) {
    Bytes b;
    b.push_back(f.idLength);
    b.push_back(f.mapType);
    b.push_back(f.imageType);
    PutU16(b, f.mapFirst);
    PutU16(b, f.mapLength);
    b.push_back(f.mapEntrySize);
    PutU16(b, 0);
    PutU16(b, 0);
    PutU16(b, f.width);
    PutU16(b, f.height);
    b.push_back(f.depth);
    b.push_back(f.descriptor);
    return b;
}

Bgra Pixel(const PLRaster& raster, int x, int y) {
    const std::uint8_t* p = raster.GetLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void Decode(const Bytes& file, PLRaster& raster, int bpp = 32) {
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, bpp);
}

Failure DirectFailure(const Bytes& file) {
    return testing::ReaderFailure<PLTargaReader>(file);
}

Failure AutoFailure(const Bytes& file) {
    return testing::DecoderFailure(file);
}

// Two rows of 24-bit pixels: the first stored row is red, green; the second
// blue, white.
Bytes TwoByTwo(std::uint8_t descriptor) {
    TgaFields f;
    f.width = 2;
    f.height = 2;
    f.descriptor = descriptor;
    Bytes b = TgaHeader(f);
    Append(b, {0, 0, 255, 0, 255, 0});
    Append(b, {255, 0, 0, 255, 255, 255});
    return b;
}

TEST(TgaReader, StoredRowsAreBottomUpByDefault) {
    PLMemoryRaster raster;
    Decode(TwoByTwo(0), raster);
    ASSERT_EQ(raster.GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 1), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{255, 255, 255, 255}));
}

TEST(TgaReader, DescriptorBit5MeansTopDown) {
    PLMemoryRaster raster;
    Decode(TwoByTwo(0x20), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(Pixel(raster, 0, 1), (Bgra{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{255, 255, 255, 255}));
}

TEST(TgaReader, RightToLeftBitIsIgnored) {
    PLMemoryRaster raster;
    Decode(TwoByTwo(0x30), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{0, 255, 0, 255}));
}

TEST(TgaReader, IdFieldIsSkipped) {
    TgaFields f;
    f.idLength = 3;
    Bytes b = TgaHeader(f);
    Append(b, {'a', 'b', 'c', 10, 20, 30});
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{10, 20, 30, 255}));
}

TEST(TgaReader, RunPacketRepeatsOnePixel) {
    TgaFields f;
    f.imageType = 10;
    f.width = 5;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    Append(b, {0x83, 1, 2, 3});  // four times (1, 2, 3)
    Append(b, {0x00, 7, 8, 9});  // one literal pixel
    PLMemoryRaster raster;
    Decode(b, raster);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(Pixel(raster, x, 0), (Bgra{1, 2, 3, 255})) << x;
    }
    EXPECT_EQ(Pixel(raster, 4, 0), (Bgra{7, 8, 9, 255}));
}

TEST(TgaReader, PacketsMayRunIntoTheNextRow) {
    TgaFields f;
    f.imageType = 11;
    f.depth = 8;
    f.width = 3;
    f.height = 2;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    Append(b, {0x01, 10, 20});  // literal: x 0-1 of row 0
    Append(b, {0x82, 30});      // run of 3: end of row 0, start of row 1
    Append(b, {0x00, 40});
    PLMemoryRaster raster;
    Decode(b, raster, 0);
    ASSERT_EQ(raster.GetBitsPerPixel(), 8);
    const std::uint8_t* top = raster.GetLine(0);
    const std::uint8_t* bottom = raster.GetLine(1);
    EXPECT_EQ((Bytes{top[0], top[1], top[2]}), (Bytes{10, 20, 30}));
    EXPECT_EQ((Bytes{bottom[0], bottom[1], bottom[2]}), (Bytes{30, 30, 40}));
}

TEST(TgaReader, RunPastTheLastPixelIsAFormatError) {
    TgaFields f;
    f.imageType = 10;
    f.width = 2;
    f.height = 2;
    Bytes b = TgaHeader(f);
    Append(b, {0x82, 1, 2, 3});  // 3 pixels
    Append(b, {0x81, 1, 2, 3});  // 2 more, but only 1 is left
    const Failure fail = AutoFailure(b);
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: TGA run goes past the end of the picture.\n");
}

TEST(TgaReader, UnknownImageTypeIsRefused) {
    TgaFields f;
    f.imageType = 32;
    Bytes b = TgaHeader(f);
    Append(b, {1, 2, 3});
    const Failure fail = DirectFailure(b);
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: Unknown TGA image type.\n");

    // Type 0 (no picture) passes the recognition but has nothing to show.
    f.imageType = 0;
    const Failure none = AutoFailure(TgaHeader(f));
    EXPECT_EQ(none.message, "Decoder error: Unknown TGA image type.\n");
}

TEST(TgaReader, FileWithTgaLikeBytesIsTakenForTga) {
    // Byte 1 = 0, byte 2 = 2, byte 7 = 0, byte 16 = 24; the name says PCX.
    Bytes b = TwoByTwo(0x20);
    ASSERT_EQ(b[1], 0);
    ASSERT_EQ(b[2], 2);
    ASSERT_EQ(b[7], 0);
    ASSERT_EQ(b[16], 24);
    const testing::TempFile file("picture.pcx", b);
    PLMemoryRaster raster;
    PLAutoDecoder().DecodeFileToRaster(file.Path(), raster, 32);
    EXPECT_EQ(raster.GetWidth(), 2);
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{0, 255, 0, 255}));
}

TEST(TgaReader, GreyPicturesGetTheGreyRamp) {
    TgaFields f;
    f.imageType = 3;
    f.depth = 8;
    f.width = 3;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    Append(b, {0, 128, 255});
    PLMemoryRaster raster;
    Decode(b, raster, 0);
    ASSERT_EQ(raster.GetBitsPerPixel(), 8);
    EXPECT_EQ(raster.GetLine(0)[1], 128);
    EXPECT_EQ(raster.GetPalette()[4 * 128], 128);

    PLMemoryRaster wide;
    Decode(b, wide);
    EXPECT_EQ(Pixel(wide, 0, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(Pixel(wide, 1, 0), (Bgra{128, 128, 128, 255}));
    EXPECT_EQ(Pixel(wide, 2, 0), (Bgra{255, 255, 255, 255}));
}

TEST(TgaReader, ColourMapSlotsWrapAt256) {
    TgaFields f;
    f.mapType = 1;
    f.imageType = 1;
    f.mapFirst = 254;
    f.mapLength = 3;  // slots 254, 255, 0
    f.mapEntrySize = 24;
    f.depth = 8;
    f.width = 3;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    Append(b, {1, 2, 3, 4, 5, 6, 7, 8, 9});  // B, G, R each
    Append(b, {254, 255, 0});
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{4, 5, 6, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (Bgra{7, 8, 9, 255}));
}

TEST(TgaReader, RunLengthColourMappedWith16BitEntries) {
    TgaFields f;
    f.mapType = 1;
    f.imageType = 9;
    f.mapLength = 2;
    f.mapEntrySize = 16;
    f.depth = 8;
    f.width = 4;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    PutU16(b, 0x7C00);  // red
    PutU16(b, 0x001F);  // blue
    Append(b, {0x81, 0, 0x81, 1});
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{0, 0, 248, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{0, 0, 248, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (Bgra{248, 0, 0, 255}));
    EXPECT_EQ(Pixel(raster, 3, 0), (Bgra{248, 0, 0, 255}));
}

TEST(TgaReader, SixteenBitPixels) {
    TgaFields f;
    f.depth = 16;
    f.width = 4;
    f.descriptor = 0x20;
    Bytes b = TgaHeader(f);
    PutU16(b, 0x7FFF);
    PutU16(b, 0x001F);
    PutU16(b, 0x03E0);
    PutU16(b, 0xFC00);
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_TRUE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{248, 248, 248, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{248, 0, 0, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (Bgra{0, 248, 0, 255}));
    EXPECT_EQ(Pixel(raster, 3, 0), (Bgra{0, 0, 248, 255}));
}

TEST(TgaReader, SixteenBitAlphaComesFromTheAttributeBitWhenDeclared) {
    TgaFields f;
    f.depth = 16;
    f.width = 2;
    f.descriptor = 0x21;
    Bytes b = TgaHeader(f);
    PutU16(b, 0x7FFF);
    PutU16(b, 0xFFFF);
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{248, 248, 248, 0}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{248, 248, 248, 255}));
}

TEST(TgaReader, FifteenBitPixelsHaveNoAlpha) {
    TgaFields f;
    f.depth = 15;
    f.descriptor = 0x21;
    Bytes b = TgaHeader(f);
    PutU16(b, 0x03E0);
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_FALSE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{0, 248, 0, 255}));
}

TEST(TgaReader, ThirtyTwoBitPixelsAreCopied) {
    TgaFields f;
    f.depth = 32;
    f.width = 2;
    Bytes b = TgaHeader(f);
    Append(b, {1, 2, 3, 4, 5, 6, 7, 0});
    PLMemoryRaster raster;
    Decode(b, raster);
    EXPECT_TRUE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{1, 2, 3, 4}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{5, 6, 7, 0}));
}

TEST(TgaReader, ResolutionIsUnknown) {
    PLMemoryRaster raster;
    raster.SetResolution(300, 300);
    Decode(TwoByTwo(0), raster, 0);
    EXPECT_EQ(raster.GetResolutionX(), 0);
    EXPECT_EQ(raster.GetResolutionY(), 0);
}

TEST(TgaReader, TruncatedFilesEndWithCode11) {
    const Bytes whole = TwoByTwo(0);
    for (std::size_t size : {std::size_t{5}, std::size_t{17}, whole.size() - 1}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const Failure fail = DirectFailure(cut);
        EXPECT_EQ(fail.code, pl_error::EndOfFile) << size;
        EXPECT_EQ(fail.message, "End of file reached while decoding.\n");
    }

    TgaFields f;
    f.imageType = 10;
    f.width = 3;
    Bytes rle = TgaHeader(f);
    Append(rle, {0x02, 1, 2, 3, 4, 5, 6});  // three literals, one pixel short
    EXPECT_EQ(AutoFailure(rle).code, pl_error::EndOfFile);

    TgaFields mapped;
    mapped.mapType = 1;
    mapped.imageType = 1;
    mapped.mapLength = 100;
    mapped.mapEntrySize = 24;
    mapped.depth = 8;
    Bytes shortMap = TgaHeader(mapped);
    Append(shortMap, {1, 2, 3});
    EXPECT_EQ(AutoFailure(shortMap).code, pl_error::EndOfFile);
}

TEST(TgaReader, HugeDeclaredSizesNeedTheDataFirst) {
    TgaFields f;
    f.width = 65535;
    f.height = 65535;
    Bytes b = TgaHeader(f);
    Append(b, {1, 2, 3});
    PLMemoryRaster raster;
    try {
        Decode(b, raster);
        FAIL() << "no exception";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::EndOfFile);
    }
    // The raster was left as it was: nothing was allocated for the picture.
    EXPECT_EQ(raster.GetWidth(), 16);

    f.imageType = 10;
    f.width = 4000;
    f.height = 4000;
    Bytes rle = TgaHeader(f);
    Append(rle, {0xFF, 1, 2, 3});
    EXPECT_EQ(AutoFailure(rle).code, pl_error::EndOfFile);
}

TEST(TgaReader, BadHeadersAreRefused) {
    TgaFields f;
    f.depth = 20;
    Bytes b = TgaHeader(f);
    Append(b, {1, 2, 3});
    Failure fail = DirectFailure(b);
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: Unsupported TGA pixel depth.\n");

    TgaFields map;
    map.mapType = 1;
    map.imageType = 1;
    map.mapLength = 1;
    map.mapEntrySize = 12;
    map.depth = 8;
    fail = DirectFailure(TgaHeader(map));
    EXPECT_EQ(fail.code, pl_error::FormatError);

    TgaFields empty;
    empty.width = 0;
    EXPECT_EQ(AutoFailure(TgaHeader(empty)).code, pl_error::FormatError);
}

TEST(TgaReader, TracesItsWork) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "velmora_tga_reader_trace.txt";
    std::filesystem::remove(path);
    PLSetTraceConfig(5, path.string());
    PLMemoryRaster raster;
    Decode(TwoByTwo(0), raster);
    PLSetTraceConfig(0, "");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_NE(text.str().find("Decoding TGA.\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora::picture
