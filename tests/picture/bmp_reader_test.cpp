// The BMP reader: headers, bit depths, palettes, run-length data and damaged files.
#include "picture/pl_bitmap_file_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"

namespace velmora::picture {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Bgr = std::array<std::uint8_t, 3>;

// Appends little-endian fields.
class ByteWriter {
public:
    ByteWriter& U8(unsigned v) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    ByteWriter& U16(unsigned v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
    ByteWriter& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    ByteWriter& Append(const Bytes& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& Text(const char* text) {
        while (*text != '\0') {
            U8(static_cast<std::uint8_t>(*text++));
        }
        return *this;
    }
    const Bytes& Get() const { return bytes_; }
    std::size_t Size() const { return bytes_.size(); }

private:
    Bytes bytes_;
};

// Everything a test file says about itself; MakeBmp lays it out.
struct BmpDescription {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 8;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::int32_t ppmX = 0;
    std::int32_t ppmY = 0;
    std::uint32_t coloursUsed = 0;
    // Colour masks inside a header of 52 bytes or more (red, green, blue).
    std::array<std::uint32_t, 3> headerMasks = {0, 0, 0};
    const char* signature = "BM";
    std::vector<Bgr> palette;
    Bytes afterHeader;  // e.g. colour masks after a 40-byte header
    Bytes gap;          // between the palette and the pixels
    Bytes pixels;
    // Added to the pixel offset, for files inside a bitmap array.
    std::uint32_t offsetBase = 0;
};

Bytes MakeBmp(const BmpDescription& d) {
    const bool core = d.headerSize == 12;
    const std::size_t paletteBytes = d.palette.size() * (core ? 3 : 4);
    const std::size_t offset =
        14 + d.headerSize + d.afterHeader.size() + paletteBytes + d.gap.size();
    ByteWriter w;
    w.Text(d.signature)
        .U32(static_cast<std::uint32_t>(offset + d.pixels.size()))
        .U16(0)
        .U16(0)
        .U32(static_cast<std::uint32_t>(offset + d.offsetBase));
    w.U32(d.headerSize);
    if (core) {
        w.U16(static_cast<unsigned>(d.width)).U16(static_cast<unsigned>(d.height));
        w.U16(1).U16(d.bitsPerPixel);
    } else {
        w.U32(static_cast<std::uint32_t>(d.width)).U32(static_cast<std::uint32_t>(d.height));
        w.U16(1).U16(d.bitsPerPixel).U32(d.compression).U32(0);
        w.U32(static_cast<std::uint32_t>(d.ppmX)).U32(static_cast<std::uint32_t>(d.ppmY));
        w.U32(d.coloursUsed).U32(0);
        std::uint32_t written = 40;
        if (d.headerSize >= 52) {
            w.U32(d.headerMasks[0]).U32(d.headerMasks[1]).U32(d.headerMasks[2]);
            written = 52;
        }
        for (; written < d.headerSize; ++written) {
            w.U8(0);
        }
    }
    w.Append(d.afterHeader);
    for (const Bgr& entry : d.palette) {
        w.U8(entry[0]).U8(entry[1]).U8(entry[2]);
        if (!core) {
            w.U8(0);
        }
    }
    w.Append(d.gap).Append(d.pixels);
    return w.Get();
}

// Stored rows, bottom row first, each padded to four bytes.
Bytes StoredRows(const std::vector<Bytes>& bottomUp) {
    Bytes out;
    for (const Bytes& row : bottomUp) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

std::vector<Bgr> SomeColours(std::size_t count) {
    std::vector<Bgr> colours;
    for (std::size_t i = 0; i < count; ++i) {
        colours.push_back({static_cast<std::uint8_t>(i * 3 + 1),
                           static_cast<std::uint8_t>(i * 5 + 2),
                           static_cast<std::uint8_t>(i * 7 + 3)});
    }
    return colours;
}

void Decode(const Bytes& file, PLRaster& raster, int bitsPerPixel = 0) {
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, bitsPerPixel);
}

// Decodes and returns the exception's code, or -1 when decoding succeeded.
int DecodeError(const Bytes& file, std::string* message = nullptr) {
    PLMemoryRaster raster;
    try {
        Decode(file, raster);
    } catch (const PLTextException& e) {
        if (message != nullptr) {
            *message = e.GetMessage();
        }
        return e.GetCode();
    }
    return -1;
}

std::vector<std::uint8_t> Indices(const PLRaster& raster, std::int32_t y) {
    const std::uint8_t* line = raster.GetLine(y);
    return {line, line + raster.GetWidth()};
}

std::array<std::uint8_t, 4> Pixel(const PLRaster& raster, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = raster.GetLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void ExpectPaletteColour(const PLRaster& raster, int index, const Bgr& colour) {
    const std::uint8_t* entry = raster.GetPalette() + 4 * index;
    EXPECT_EQ(entry[PL_BLUE], colour[0]) << "entry " << index;
    EXPECT_EQ(entry[PL_GREEN], colour[1]) << "entry " << index;
    EXPECT_EQ(entry[PL_RED], colour[2]) << "entry " << index;
    EXPECT_EQ(entry[PL_ALPHA], 255) << "entry " << index;
}

TEST(BmpReader, Os2CoreHeaderUsesThreeBytePaletteAndThePixelOffset) {
    BmpDescription d;
    d.headerSize = 12;
    d.width = 2;
    d.height = 2;
    d.palette = SomeColours(256);
    d.gap = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};  // the offset must jump these
    d.pixels = StoredRows({{7, 8}, {200, 255}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    ASSERT_EQ(raster.GetBitsPerPixel(), 8);
    EXPECT_EQ(Indices(raster, 0), (Bytes{200, 255}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{7, 8}));
    for (int i : {7, 8, 200, 255}) {
        ExpectPaletteColour(raster, i, d.palette[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(raster.GetResolutionX(), 150);
    EXPECT_EQ(raster.GetResolutionY(), 150);
}

TEST(BmpReader, OneBitRowsOfThreePixelsReadOneBytePlusPadding) {
    BmpDescription d;
    d.bitsPerPixel = 1;
    d.width = 3;
    d.height = 2;
    d.palette = {{10, 20, 30}, {40, 50, 60}};
    // Bits past the width and the padding bytes are set to catch misreads.
    d.pixels = {0xBF, 0xFF, 0xFF, 0xFF, 0x5F, 0xEE, 0xEE, 0xEE};
    const Bytes file = MakeBmp(d);
    ASSERT_EQ(file.size(), 14u + 40 + 8 + 8);
    PLMemoryRaster raster;
    Decode(file, raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{0, 1, 0}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{1, 0, 1}));
    ExpectPaletteColour(raster, 0, d.palette[0]);
    ExpectPaletteColour(raster, 1, d.palette[1]);
}

TEST(BmpReader, OneBitPartialByteTakesTheHighBits) {
    BmpDescription d;
    d.bitsPerPixel = 1;
    d.width = 10;
    d.height = 1;
    d.palette = SomeColours(2);
    d.pixels = StoredRows({{0xA5, 0x80}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{1, 0, 1, 0, 0, 1, 0, 1, 1, 0}));
}

TEST(BmpReader, FourBitOddWidthTakesTheHighNibbleOfOneMoreByte) {
    BmpDescription d;
    d.bitsPerPixel = 4;
    d.width = 3;
    d.height = 2;
    d.palette = SomeColours(16);
    d.pixels = StoredRows({{0x12, 0x3F}, {0xAB, 0xCD}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{0xA, 0xB, 0xC}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{1, 2, 3}));
    ExpectPaletteColour(raster, 15, d.palette[15]);
}

TEST(BmpReader, EightBitAt32BitsGivesEachPixelItsPaletteEntry) {
    BmpDescription d;
    d.width = 5;
    d.height = 3;
    d.palette = SomeColours(256);
    d.pixels = StoredRows({{0, 1, 2, 3, 4}, {100, 101, 102, 103, 104}, {255, 254, 253, 252, 251}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster, 32);
    ASSERT_EQ(raster.GetBitsPerPixel(), 32);
    const std::vector<Bytes> topDown = {
        {255, 254, 253, 252, 251}, {100, 101, 102, 103, 104}, {0, 1, 2, 3, 4}};
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 5; ++x) {
            const Bgr& c =
                d.palette[topDown[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]];
            EXPECT_EQ(Pixel(raster, x, y), (std::array<std::uint8_t, 4>{c[0], c[1], c[2], 255}));
        }
    }
}

TEST(BmpReader, PaletteSmallerThanTheDepthKeepsTheGreyRampAbove) {
    BmpDescription d;
    d.coloursUsed = 2;
    d.palette = SomeColours(2);
    d.pixels = StoredRows({{1}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    ExpectPaletteColour(raster, 1, d.palette[1]);
    ExpectPaletteColour(raster, 2, {2, 2, 2});
    EXPECT_EQ(Indices(raster, 0), (Bytes{1}));
}

TEST(BmpReader, TwentyFourBitRowsSkipTheirPadding) {
    BmpDescription d;
    d.bitsPerPixel = 24;
    d.width = 3;
    d.height = 2;
    d.pixels = StoredRows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 12, 13, 14, 15, 16, 17, 18, 19}});
    ASSERT_EQ(d.pixels.size(), 24u);
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    ASSERT_EQ(raster.GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{11, 12, 13, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (std::array<std::uint8_t, 4>{17, 18, 19, 255}));
    EXPECT_EQ(Pixel(raster, 0, 1), (std::array<std::uint8_t, 4>{1, 2, 3, 255}));
    EXPECT_EQ(Pixel(raster, 2, 1), (std::array<std::uint8_t, 4>{7, 8, 9, 255}));
}

TEST(BmpReader, ThirtyTwoBitWithZeroAlphaIsTransparentWithTheAlphaFlag) {
    BmpDescription d;
    d.bitsPerPixel = 32;
    d.width = 2;
    d.height = 1;
    d.pixels = {10, 20, 30, 0, 40, 50, 60, 0};
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster, 32);
    EXPECT_TRUE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{10, 20, 30, 0}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{40, 50, 60, 0}));
}

Bytes U16Pixels(std::initializer_list<unsigned> values) {
    ByteWriter w;
    for (unsigned v : values) {
        w.U16(v);
    }
    return w.Get();
}

Bytes Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    ByteWriter w;
    w.U32(red).U32(green).U32(blue);
    return w.Get();
}

TEST(BmpReader, SixteenBitWithoutCompressionIs555) {
    BmpDescription d;
    d.bitsPerPixel = 16;
    d.width = 3;
    d.height = 1;
    d.pixels = StoredRows({U16Pixels({0x7C00, 0x03E0, 0x001F})});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{0, 0, 248, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{0, 248, 0, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (std::array<std::uint8_t, 4>{248, 0, 0, 255}));
}

TEST(BmpReader, SixteenBitBitfields555) {
    BmpDescription d;
    d.bitsPerPixel = 16;
    d.compression = 3;
    d.width = 3;
    d.height = 1;
    d.afterHeader = Masks(0x7C00, 0x3E0, 0x1F);
    d.pixels = StoredRows({U16Pixels({0xFFFF, 0x7C00, 0x0421})});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{248, 248, 248, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{0, 0, 248, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (std::array<std::uint8_t, 4>{8, 8, 8, 255}));
}

TEST(BmpReader, SixteenBitBitfields565DropsTheLowestGreenBit) {
    BmpDescription d;
    d.bitsPerPixel = 16;
    d.compression = 3;
    d.width = 4;
    d.height = 1;
    d.afterHeader = Masks(0xF800, 0x7E0, 0x1F);
    d.pixels = StoredRows({U16Pixels({0xFFFF, 0xF800, 0x07E0, 0x0020})});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{248, 248, 248, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{0, 0, 248, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (std::array<std::uint8_t, 4>{0, 248, 0, 255}));
    EXPECT_EQ(Pixel(raster, 3, 0), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
}

TEST(BmpReader, LongerHeadersAreSkipped) {
    for (std::uint32_t size : {64u, 108u, 124u}) {
        BmpDescription d;
        d.headerSize = size;
        d.bitsPerPixel = 24;
        d.width = 1;
        d.height = 2;
        d.pixels = StoredRows({{1, 2, 3}, {4, 5, 6}});
        PLMemoryRaster raster;
        Decode(MakeBmp(d), raster);
        EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{4, 5, 6, 255})) << size;
        EXPECT_EQ(Pixel(raster, 0, 1), (std::array<std::uint8_t, 4>{1, 2, 3, 255})) << size;
    }
}

TEST(BmpReader, LongerHeaderWithFourBytePaletteAndEightBits) {
    BmpDescription d;
    d.headerSize = 124;
    d.width = 2;
    d.height = 1;
    d.palette = SomeColours(4);
    d.coloursUsed = 4;
    d.pixels = StoredRows({{3, 1}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{3, 1}));
    ExpectPaletteColour(raster, 3, d.palette[3]);
}

TEST(BmpReader, LongerHeaderCarriesTheSixteenBitMasks) {
    BmpDescription d;
    d.headerSize = 108;
    d.bitsPerPixel = 16;
    d.compression = 3;
    d.width = 2;
    d.height = 1;
    d.headerMasks = {0xF800, 0x7E0, 0x1F};
    d.pixels = StoredRows({U16Pixels({0x07E0, 0x001F})});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{0, 248, 0, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{248, 0, 0, 255}));
}

TEST(BmpReader, LongerHeaderWithEmptyMasksTakesThoseAfterIt) {
    BmpDescription d;
    d.headerSize = 108;
    d.bitsPerPixel = 16;
    d.compression = 3;
    d.width = 1;
    d.height = 1;
    d.afterHeader = Masks(0xF800, 0x7E0, 0x1F);
    d.pixels = StoredRows({U16Pixels({0x07E0})});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{0, 248, 0, 255}));
}

TEST(BmpReader, WindowsPixelOffsetPastTheHeaderIsHonoured) {
    // 32-bit bitfields with the masks after a 40-byte header.
    BmpDescription d;
    d.bitsPerPixel = 32;
    d.compression = 3;
    d.width = 1;
    d.height = 1;
    d.gap = Masks(0xFF0000, 0xFF00, 0xFF);
    d.pixels = {1, 2, 3, 4};
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

TEST(BmpReader, WindowsPixelOffsetThatCannotHoldThePictureIsIgnored) {
    BmpDescription d;
    d.bitsPerPixel = 24;
    d.width = 1;
    d.height = 1;
    d.pixels = {1, 2, 3, 0};
    Bytes file = MakeBmp(d);
    file[10] = static_cast<std::uint8_t>(file.size() - 2);  // offset too near the end
    PLMemoryRaster raster;
    Decode(file, raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{1, 2, 3, 255}));
}

TEST(BmpReader, ResolutionFromPixelsPerMetreWith150AsDefault) {
    const struct {
        std::int32_t ppm;
        std::int32_t dpi;
    } cases[] = {{0, 150}, {-5, 150}, {39, 150}, {59, 150}, {60, 2}, {2835, 72}, {3780, 96}};
    for (const auto& c : cases) {
        BmpDescription d;
        d.bitsPerPixel = 24;
        d.ppmX = c.ppm;
        d.ppmY = 11811;  // 300 dpi
        d.pixels = {0, 0, 0, 0};
        PLMemoryRaster raster;
        Decode(MakeBmp(d), raster);
        EXPECT_EQ(raster.GetResolutionX(), c.dpi) << c.ppm;
        EXPECT_EQ(raster.GetResolutionY(), 300);
    }
}

TEST(BmpReader, BitmapArrayReadsTheFirstPicture) {
    BmpDescription first;
    first.bitsPerPixel = 24;
    first.width = 1;
    first.height = 1;
    first.pixels = {7, 8, 9, 0};
    ByteWriter w;
    w.Text("BA").U32(14).U16(0).U16(0).U32(0).Append(MakeBmp(first));
    PLMemoryRaster raster;
    Decode(w.Get(), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{7, 8, 9, 255}));
}

TEST(BmpReader, BitmapArrayOffsetsCountFromTheStartOfTheArray) {
    BmpDescription first;
    first.headerSize = 12;
    first.width = 1;
    first.height = 1;
    first.palette = SomeColours(256);
    first.gap = {0xEE, 0xEE};
    first.pixels = {42, 0xEE, 0xEE, 0xEE};
    first.offsetBase = 28;
    ByteWriter w;
    w.Text("BA").U32(14).U16(0).U16(0).U32(0);
    w.Text("BA").U32(14).U16(0).U16(0).U32(0);
    w.Append(MakeBmp(first));
    PLMemoryRaster raster;
    Decode(w.Get(), raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{42}));
}

TEST(BmpReader, OtherSignaturesAreAccepted) {
    for (const char* signature : {"CI", "CP", "IC"}) {
        BmpDescription d;
        d.signature = signature;
        d.bitsPerPixel = 24;
        d.pixels = {1, 2, 3, 0};
        PLMemoryRaster raster;
        Decode(MakeBmp(d), raster);
        EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{1, 2, 3, 255})) << signature;
    }
}

TEST(BmpReader, WrongSignatureIsCode1) {
    BmpDescription d;
    d.signature = "XY";
    d.bitsPerPixel = 24;
    d.pixels = {1, 2, 3, 0};
    for (const Bytes& file : {MakeBmp(d), [&] {
                                  ByteWriter w;
                                  w.Text("BA").U32(14).U16(0).U16(0).U32(0).Append(MakeBmp(d));
                                  return w.Get();
                              }()}) {
        PLMemoryInput input(file.data(), file.size());
        PLMemoryRaster raster;
        try {
            PLBitmapFileReader().Decode(input, raster, nullptr);
            ADD_FAILURE() << "decoded a file without a bitmap signature";
        } catch (const PLTextException& e) {
            EXPECT_EQ(e.GetCode(), pl_error::WrongSignature);
            EXPECT_STREQ(e.GetMessage(), "Decoder error: Bitmap decoder: This isn't a bitmap.\n");
        }
    }
}

TEST(BmpReader, IllegalDepthIsCode2) {
    for (std::uint16_t bpp : {0, 2, 3, 7, 15, 48, 64}) {
        BmpDescription d;
        d.bitsPerPixel = bpp;
        d.pixels = Bytes(64, 0);
        std::string message;
        EXPECT_EQ(DecodeError(MakeBmp(d), &message), pl_error::FormatError) << bpp;
        EXPECT_EQ(message, "Decoder error: Decoding bmp: Illegal bpp value.\n");
    }
}

TEST(BmpReader, TopDownAndEmptyPicturesAreCode2) {
    for (const auto& [width, height] :
         std::vector<std::pair<std::int32_t, std::int32_t>>{{1, -1}, {0, 1}, {1, 0}, {-3, 1}}) {
        BmpDescription d;
        d.bitsPerPixel = 24;
        d.width = width;
        d.height = height;
        d.pixels = Bytes(16, 0);
        EXPECT_EQ(DecodeError(MakeBmp(d)), pl_error::FormatError) << width << "x" << height;
    }
    BmpDescription core;
    core.headerSize = 12;
    core.bitsPerPixel = 24;
    core.width = 0;
    core.pixels = Bytes(16, 0);
    EXPECT_EQ(DecodeError(MakeBmp(core)), pl_error::FormatError);
}

TEST(BmpReader, HeaderSizesBetweenCoreAndInfoAreRefused) {
    BmpDescription d;
    d.bitsPerPixel = 24;
    d.pixels = Bytes(16, 0);
    Bytes file = MakeBmp(d);
    file[14] = 16;
    std::string message;
    EXPECT_EQ(DecodeError(file, &message), pl_error::NotSupported);
    EXPECT_EQ(message, "Decoder error: Bitmap decoder: Unsupported header size.\n");
    file[14] = 0xFF;
    file[15] = 0xFF;
    file[16] = 0xFF;
    file[17] = 0xFF;
    EXPECT_EQ(DecodeError(file), pl_error::EndOfFile);
}

TEST(BmpReader, EveryTruncationOfAFileIsCode11) {
    std::vector<BmpDescription> samples(4);
    samples[0].width = 3;
    samples[0].height = 2;
    samples[0].palette = SomeColours(256);
    samples[0].pixels = StoredRows({{1, 2, 3}, {4, 5, 6}});
    samples[1].headerSize = 12;
    samples[1].bitsPerPixel = 4;
    samples[1].width = 3;
    samples[1].height = 2;
    samples[1].palette = SomeColours(16);
    samples[1].pixels = StoredRows({{0x12, 0x30}, {0x45, 0x60}});
    samples[2].bitsPerPixel = 16;
    samples[2].compression = 3;
    samples[2].width = 2;
    samples[2].height = 2;
    samples[2].afterHeader = Masks(0xF800, 0x7E0, 0x1F);
    samples[2].pixels = StoredRows({U16Pixels({1, 2}), U16Pixels({3, 4})});
    samples[3].compression = 1;
    samples[3].width = 4;
    samples[3].height = 2;
    samples[3].palette = SomeColours(256);
    samples[3].pixels = {4, 9, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1};
    for (std::size_t s = 0; s < samples.size(); ++s) {
        const Bytes file = MakeBmp(samples[s]);
        ASSERT_EQ(DecodeError(file), -1) << "sample " << s;
        for (std::size_t length = 2; length < file.size(); ++length) {
            const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
            std::string message;
            EXPECT_EQ(DecodeError(cut, &message), pl_error::EndOfFile)
                << "sample " << s << " cut at " << length;
            EXPECT_EQ(message, "End of file reached while decoding.\n");
        }
    }
}

TEST(BmpReader, HugeDimensionsWithATinyFileAreRefusedBeforeAllocating) {
    // Uncompressed: allocation would fail with code 10; the input check comes
    // first. RLE data may end at any point, so there the size cap refuses.
    for (std::uint16_t bpp : {1, 4, 8, 16, 24, 32}) {
        BmpDescription d;
        d.bitsPerPixel = bpp;
        if (bpp <= 8) {
            d.palette = SomeColours(std::size_t{1} << bpp);
        }
        d.width = 0x7FFFFFFF;
        d.height = 0x7FFFFFFF;
        d.pixels = Bytes(64, 0);
        EXPECT_EQ(DecodeError(MakeBmp(d)), pl_error::EndOfFile) << bpp;
    }
    BmpDescription core;
    core.headerSize = 12;
    core.bitsPerPixel = 24;
    core.width = 0xFFFF;
    core.height = 0xFFFF;
    core.pixels = Bytes(64, 0);
    EXPECT_EQ(DecodeError(MakeBmp(core)), pl_error::EndOfFile);
    for (std::uint32_t compression : {1u, 2u}) {
        BmpDescription rle;
        rle.bitsPerPixel = compression == 1 ? 8 : 4;
        rle.compression = compression;
        rle.palette = SomeColours(compression == 1 ? 256 : 16);
        for (const auto& [width, height] : std::vector<std::pair<std::int32_t, std::int32_t>>{
                 {100000, 100000}, {0x7FFFFFFF, 1}, {1, 0x7FFFFFFF}, {1, 200000000}}) {
            rle.width = width;
            rle.height = height;
            rle.pixels = {0, 1};
            EXPECT_EQ(DecodeError(MakeBmp(rle)), pl_error::OutOfMemory)
                << compression << ": " << width << "x" << height;
        }
    }
}

TEST(BmpReader, PaletteCountsBeyondTheDepthDoNotOverflowThePalette) {
    BmpDescription d;
    d.width = 1;
    d.height = 1;
    d.coloursUsed = 1000;
    d.palette = SomeColours(1000);
    d.pixels = StoredRows({{255}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster, 32);
    const Bgr& c = d.palette[255];
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{c[0], c[1], c[2], 255}));

    BmpDescription oneBit;
    oneBit.bitsPerPixel = 1;
    oneBit.coloursUsed = 300;
    oneBit.palette = SomeColours(300);
    oneBit.pixels = StoredRows({{0x80}});
    PLMemoryRaster small;
    Decode(MakeBmp(oneBit), small);
    ExpectPaletteColour(small, 1, oneBit.palette[1]);
    ExpectPaletteColour(small, 2, {2, 2, 2});

    d.coloursUsed = 0xFFFFFFFF;
    EXPECT_EQ(DecodeError(MakeBmp(d)), pl_error::EndOfFile);
}

// RLE pictures.

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

BmpDescription Rle8(std::int32_t width, std::int32_t height, Bytes data) {
    BmpDescription d;
    d.compression = 1;
    d.width = width;
    d.height = height;
    d.palette = SomeColours(256);
    d.pixels = std::move(data);
    return d;
}

BmpDescription Rle4(std::int32_t width, std::int32_t height, Bytes data) {
    BmpDescription d;
    d.bitsPerPixel = 4;
    d.compression = 2;
    d.width = width;
    d.height = height;
    d.palette = SomeColours(16);
    d.pixels = std::move(data);
    return d;
}

TEST(BmpReader, Rle8RunsAndAbsoluteRuns) {
    // A run, an odd absolute run with its pad byte (clipped at the width).
    const Bytes row0 = {3, 7, 0, 3, 1, 2, 3, 0xEE, 0, 0};
    // An even absolute run, a run.
    const Bytes row1 = {0, 4, 9, 8, 7, 6, 1, 5, 0, 0};
    // The last row ends the bitmap.
    const Bytes row2 = {5, 44, 0, 1};
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle8(5, 3, Join({row0, row1, row2}))), raster);
    EXPECT_EQ(Indices(raster, 2), (Bytes{7, 7, 7, 1, 2}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{9, 8, 7, 6, 5}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{44, 44, 44, 44, 44}));
}

TEST(BmpReader, Rle8EndOfBitmapMidPictureWritesNoLaterRows) {
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle8(3, 4, {3, 9, 0, 0, 2, 8, 0, 1, 3, 5, 0, 0, 3, 5, 0, 0})), raster);
    EXPECT_EQ(Indices(raster, 3), (Bytes{9, 9, 9}));
    EXPECT_EQ(Indices(raster, 2), (Bytes{8, 8, 0}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{0, 0, 0}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{0, 0, 0}));
}

TEST(BmpReader, Rle8StopsAfterTheLastRow) {
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle8(2, 1, {2, 6, 0, 0, 2, 7, 0, 2})), raster);
    EXPECT_EQ(Indices(raster, 0), (Bytes{6, 6}));
}

TEST(BmpReader, Rle8RunsPastTheRowEndAreClipped) {
    // A run of 255 into a 2-pixel row.
    const Bytes row0 = {255, 3, 0, 0};
    // An absolute run of 5 starting at the second pixel.
    const Bytes row1 = {1, 4, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0};
    // A row ended after one pixel.
    const Bytes row2 = {1, 9, 0, 0};
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle8(2, 3, Join({row0, row1, row2}))), raster);
    EXPECT_EQ(Indices(raster, 2), (Bytes{3, 3}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{4, 1}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{9, 0}));
    EXPECT_EQ(DecodeError(MakeBmp(Rle8(2, 1, {0, 255, 1, 2}))), pl_error::EndOfFile);
}

TEST(BmpReader, Rle4RunsAlternateNibblesAndAbsoluteRunsArePadded) {
    // A run of five: 1 2 1 2 1.
    const Bytes row0 = {5, 0x12, 0, 0};
    // Five nibbles take three bytes, an odd count, so a pad byte follows.
    const Bytes row1 = {0, 5, 0x34, 0x56, 0x70, 0, 1, 0x80, 0, 0};
    // Four nibbles take two bytes: no pad. The bitmap ends with the row.
    const Bytes row2 = {0, 4, 0xAB, 0xCD, 2, 0xEF, 0, 1};
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle4(6, 3, Join({row0, row1, row2}))), raster);
    EXPECT_EQ(Indices(raster, 2), (Bytes{1, 2, 1, 2, 1, 0}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{0xA, 0xB, 0xC, 0xD, 0xE, 0xF}));
}

TEST(BmpReader, Rle4ShortRowsRepeatTheRowBeforeAndUnwrittenRowsAreZero) {
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle4(4, 4, {4, 0x55, 0, 0, 1, 0x90, 0, 0, 0, 1})), raster);
    EXPECT_EQ(Indices(raster, 3), (Bytes{5, 5, 5, 5}));
    EXPECT_EQ(Indices(raster, 2), (Bytes{9, 5, 5, 5}));
    EXPECT_EQ(Indices(raster, 1), (Bytes{9, 5, 5, 5}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{0, 0, 0, 0}));
}

TEST(BmpReader, Rle4RunsPastTheRowEndAreClipped) {
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle4(3, 2, {255, 0x12, 0, 0, 0, 9, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0, 0})),
           raster);
    EXPECT_EQ(Indices(raster, 1), (Bytes{1, 2, 1}));
    EXPECT_EQ(Indices(raster, 0), (Bytes{3, 4, 5}));
}

TEST(BmpReader, DeltaEscapeIsCode6) {
    for (const BmpDescription& d :
         {Rle8(4, 2, {2, 1, 0, 2, 1, 1, 0, 0}), Rle4(4, 2, {2, 0x11, 0, 2, 1, 1, 0, 0})}) {
        std::string message;
        EXPECT_EQ(DecodeError(MakeBmp(d), &message), pl_error::NotSupported);
        EXPECT_EQ(message, "Decoder error: Encountered delta escape.\n");
    }
}

TEST(BmpReader, Rle8PictureEndedAtOnceDecodesWithIndexZero) {
    PLMemoryRaster raster;
    Decode(MakeBmp(Rle8(2000, 2000, {0, 1})), raster);
    for (std::int32_t y = 0; y < 2000; y += 222) {
        EXPECT_EQ(Indices(raster, y), Bytes(2000, 0));
    }
}

TEST(BmpReader, DecodesFromAFile) {
    BmpDescription d;
    d.bitsPerPixel = 24;
    d.width = 2;
    d.height = 1;
    d.pixels = StoredRows({{1, 2, 3, 4, 5, 6}});
    const Bytes file = MakeBmp(d);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("velmora_bmp_reader_test_" +
         std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".bmp");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
    }
    PLMemoryRaster raster;
    try {
        PLAutoDecoder().DecodeFileToRaster(path.string(), raster, 32);
    } catch (...) {
        std::filesystem::remove(path);
        throw;
    }
    std::filesystem::remove(path);
    EXPECT_EQ(Pixel(raster, 0, 0), (std::array<std::uint8_t, 4>{1, 2, 3, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (std::array<std::uint8_t, 4>{4, 5, 6, 255}));
}

TEST(BmpReader, TraceLines) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "velmora_bmp_reader_trace.txt";
    std::filesystem::remove(path);
    PLSetTraceConfig(3, path.string());
    BmpDescription d;
    d.bitsPerPixel = 4;
    d.palette = SomeColours(16);
    d.pixels = StoredRows({{0x10}});
    PLMemoryRaster raster;
    Decode(MakeBmp(d), raster);
    PLSetTraceConfig(0, "");
    std::ifstream in(path);
    const std::string trace((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::filesystem::remove(path);
    EXPECT_NE(trace.find("Windows bitmap recognized.\n"
                         "Bitmap file signature found\n"
                         "Reading palette.\n"
                         "Bitmap header is ok.\n"
                         "Decoding uncompressed 4 bit per pixel bitmap.\n"
                         "Decoding finished.\n"),
              std::string::npos)
        << trace;
}

}  // namespace
}  // namespace velmora::picture
