// The PCX reader: planes, palettes and run-length data.
#include "picture/pl_pcx_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"
#include "tests/picture/reader_failures.h"

namespace velmora::picture {
namespace {

using testing::Failure;

using Bytes = std::vector<std::uint8_t>;
using Bgra = std::array<std::uint8_t, 4>;

struct PcxFields {
    std::uint8_t manufacturer = 10;
    std::uint8_t encoding = 1;
    std::uint8_t bitsPerPixel = 8;
    std::uint8_t planes = 1;
    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::uint16_t xmin = 0;
    std::uint16_t ymin = 0;
    std::uint16_t bytesPerLine = 0;  // 0: just enough for the width
    std::uint16_t dpiX = 72;
    std::uint16_t dpiY = 72;
    Bytes palette16;  // R, G, B triples
};

void PutU16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

std::uint16_t LineBytes(const PcxFields& f) {
    if (f.bytesPerLine != 0) {
        return f.bytesPerLine;
    }
    return static_cast<std::uint16_t>((f.width * f.bitsPerPixel + 7) / 8);
}

Bytes PcxHeader(const PcxFields& f) {
    Bytes b(128, 0);
    b[0] = f.manufacturer;
    b[1] = 5;
    b[2] = f.encoding;
    b[3] = f.bitsPerPixel;
    PutU16(b, 4, f.xmin);
    PutU16(b, 6, f.ymin);
    PutU16(b, 8, f.xmin + f.width - 1u);
    PutU16(b, 10, f.ymin + f.height - 1u);
    PutU16(b, 12, f.dpiX);
    PutU16(b, 14, f.dpiY);
    std::copy(f.palette16.begin(), f.palette16.end(), b.begin() + 16);
    b[65] = f.planes;
    PutU16(b, 66, LineBytes(f));
    return b;
}

// Run-length encodes raw picture bytes: runs of equal bytes, and single
// bytes of 192 or more as runs of one.
Bytes Encode(const Bytes& raw) {
    Bytes out;
    for (std::size_t i = 0; i < raw.size();) {
        std::size_t n = 1;
        while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63) {
            ++n;
        }
        if (n > 1 || raw[i] >= 192) {
            out.push_back(static_cast<std::uint8_t>(192 + n));
        }
        out.push_back(raw[i]);
        i += n;
    }
    return out;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bgra Pixel(const PLRaster& raster, int x, int y) {
    const std::uint8_t* p = raster.GetLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void Decode(const Bytes& file, PLRaster& raster) {
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, 32);
}

Failure DirectFailure(const Bytes& file) {
    return testing::ReaderFailure<PLPcxReader>(file);
}

Failure AutoFailure(const Bytes& file) {
    return testing::DecoderFailure(file);
}

// Sixteen header colours: entry i = (i * 16, 255 - i, i).
Bytes SixteenColours() {
    Bytes p;
    for (int i = 0; i < 16; ++i) {
        p.push_back(static_cast<std::uint8_t>(i * 16));
        p.push_back(static_cast<std::uint8_t>(255 - i));
        p.push_back(static_cast<std::uint8_t>(i));
    }
    return p;
}

Bgra HeaderColour(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i * 16), 255};
}

TEST(PcxReader, FourOneBitPlanesIndexTheHeaderPalette) {
    PcxFields f;
    f.bitsPerPixel = 1;
    f.planes = 4;
    f.width = 16;
    f.palette16 = SixteenColours();
    // Pixel x has index x: plane p holds bit p of each index.
    Bytes raw;
    for (int p = 0; p < 4; ++p) {
        for (int half = 0; half < 2; ++half) {
            std::uint8_t byte = 0;
            for (int k = 0; k < 8; ++k) {
                const int x = half * 8 + k;
                byte = static_cast<std::uint8_t>(byte | (((x >> p) & 1) << (7 - k)));
            }
            raw.push_back(byte);
        }
    }
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(f), Encode(raw)), raster);
    ASSERT_EQ(raster.GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster.HasAlpha());
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(Pixel(raster, x, 0), HeaderColour(x)) << x;
    }
}

Bytes TrailingPalette(std::uint8_t marker) {
    Bytes p{marker};
    for (int i = 0; i < 256; ++i) {
        p.push_back(static_cast<std::uint8_t>(i));
        p.push_back(static_cast<std::uint8_t>(255 - i));
        p.push_back(static_cast<std::uint8_t>(i / 2));
    }
    return p;
}

TEST(PcxReader, EightBitPicturesTakeThePaletteFromTheEnd) {
    PcxFields f;
    f.width = 4;
    f.height = 2;
    f.bytesPerLine = 4;
    const Bytes raw{0, 1, 200, 255, 7, 7, 7, 7};
    for (std::uint8_t marker : {std::uint8_t{12}, std::uint8_t{0}}) {
        PLMemoryRaster raster;
        Decode(Cat(Cat(PcxHeader(f), Encode(raw)), TrailingPalette(marker)), raster);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x) {
                const int i = raw[static_cast<std::size_t>(y * 4 + x)];
                EXPECT_EQ(Pixel(raster, x, y), (Bgra{static_cast<std::uint8_t>(i / 2),
                                                     static_cast<std::uint8_t>(255 - i),
                                                     static_cast<std::uint8_t>(i), 255}))
                    << x << "," << y;
            }
        }
    }
}

TEST(PcxReader, EightBitWithoutRoomForAPaletteIsGrey) {
    PcxFields f;
    f.width = 2;
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(f), Bytes{5, 100}), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{5, 5, 5, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{100, 100, 100, 255}));
}

TEST(PcxReader, ThreeEightBitPlanesAreTrueColour) {
    PcxFields f;
    f.planes = 3;
    f.width = 3;
    f.height = 2;
    f.bytesPerLine = 4;  // one byte of padding per plane line
    const Bytes raw{
        10,  20,  30,  0, 40,  50,  60,  0, 70,  80,  90,  0,  // row 0: R, G, B planes
        200, 201, 202, 0, 210, 211, 212, 0, 220, 221, 222, 0,  // row 1
    };
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(f), Encode(raw)), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{70, 40, 10, 255}));
    EXPECT_EQ(Pixel(raster, 2, 0), (Bgra{90, 60, 30, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{221, 211, 201, 255}));
}

TEST(PcxReader, OneBitOnePlaneIsBlackAndWhite) {
    PcxFields f;
    f.bitsPerPixel = 1;
    f.width = 10;
    f.bytesPerLine = 2;
    f.palette16 = SixteenColours();  // not used for this layout
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(f), Encode({0xA0, 0x40})), raster);
    const Bgra black{0, 0, 0, 255};
    const Bgra white{255, 255, 255, 255};
    EXPECT_EQ(Pixel(raster, 0, 0), white);
    EXPECT_EQ(Pixel(raster, 1, 0), black);
    EXPECT_EQ(Pixel(raster, 2, 0), white);
    EXPECT_EQ(Pixel(raster, 8, 0), black);
    EXPECT_EQ(Pixel(raster, 9, 0), white);
}

TEST(PcxReader, PackedTwoAndFourBitPixels) {
    PcxFields f;
    f.bitsPerPixel = 2;
    f.width = 5;
    f.palette16 = SixteenColours();
    PLMemoryRaster two;
    Decode(Cat(PcxHeader(f), Encode({0x1B, 0xC0})), two);  // 0 1 2 3 | 3
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(Pixel(two, x, 0), HeaderColour(x));
    }
    EXPECT_EQ(Pixel(two, 4, 0), HeaderColour(3));

    f.bitsPerPixel = 4;
    f.width = 3;
    PLMemoryRaster four;
    Decode(Cat(PcxHeader(f), Encode({0xF5, 0xA0})), four);
    EXPECT_EQ(Pixel(four, 0, 0), HeaderColour(15));
    EXPECT_EQ(Pixel(four, 1, 0), HeaderColour(5));
    EXPECT_EQ(Pixel(four, 2, 0), HeaderColour(10));
}

TEST(PcxReader, RunsMaySpanRowsAndTheResolutionComesFromTheHeader) {
    PcxFields f;
    f.width = 3;
    f.height = 2;
    f.xmin = 10;
    f.ymin = 20;
    f.dpiX = 300;
    f.dpiY = 150;
    // One run of 5, then one literal: rows 7 7 7 / 7 7 9.
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(f), Bytes{0xC5, 7, 9}), raster);
    EXPECT_EQ(raster.GetWidth(), 3);
    EXPECT_EQ(raster.GetHeight(), 2);
    EXPECT_EQ(raster.GetResolutionX(), 300);
    EXPECT_EQ(raster.GetResolutionY(), 150);
    EXPECT_EQ(Pixel(raster, 2, 0), (Bgra{7, 7, 7, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{7, 7, 7, 255}));
    EXPECT_EQ(Pixel(raster, 2, 1), (Bgra{9, 9, 9, 255}));
}

TEST(PcxReader, EarlyEndKeepsWhatWasRead) {
    PcxFields f;
    f.bitsPerPixel = 1;
    f.planes = 4;
    f.width = 8;
    f.height = 3;
    f.palette16 = SixteenColours();
    // Row 0: all index 15; then the data stops half-way through row 1, and
    // with a run byte whose value is missing.
    const Bytes data{0xC4, 0xFF, 0xC1, 0xFF, 0xC5};
    PLMemoryRaster raster;
    ASSERT_NO_THROW(Decode(Cat(PcxHeader(f), data), raster));
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(Pixel(raster, x, 0), HeaderColour(15));
        EXPECT_EQ(Pixel(raster, x, 1), HeaderColour(1));
        EXPECT_EQ(Pixel(raster, x, 2), HeaderColour(0));
    }

    // Nothing but the header.
    PLMemoryRaster empty;
    ASSERT_NO_THROW(Decode(PcxHeader(f), empty));
    EXPECT_EQ(Pixel(empty, 0, 2), HeaderColour(0));
}

TEST(PcxReader, EarlyEndWithLongLinesAndManyRowsStaysQuick) {
    PcxFields f;
    f.width = 1;
    f.height = 65535;
    f.bytesPerLine = 65535;
    PLMemoryRaster raster;
    ASSERT_NO_THROW(Decode(Cat(PcxHeader(f), Bytes{0xC2, 9}), raster));
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{9, 9, 9, 255}));
    EXPECT_EQ(Pixel(raster, 0, 65534), (Bgra{0, 0, 0, 255}));
}

TEST(PcxReader, ALargePictureCutShortDecodesWhatItHolds) {
    PcxFields f;
    f.width = 3000;
    f.height = 2000;
    // The first row, all index 7, and not a byte more.
    const Bytes data = Encode(Bytes(3000, 7));
    PLMemoryRaster raster;
    ASSERT_NO_THROW(Decode(Cat(PcxHeader(f), data), raster));
    EXPECT_EQ(Pixel(raster, 2999, 0), (Bgra{7, 7, 7, 255}));
    EXPECT_EQ(Pixel(raster, 0, 1), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(Pixel(raster, 2999, 1999), (Bgra{0, 0, 0, 255}));
}

TEST(PcxReader, RunPastTheEndOfThePicture) {
    PcxFields f;
    f.width = 4;
    f.height = 2;
    const Failure fail = AutoFailure(Cat(PcxHeader(f), Bytes{0xC5, 1, 0xC4, 2}));
    EXPECT_EQ(fail.code, pl_error::InternalLimit);
    EXPECT_EQ(fail.message, "Decoder error: repeat count spans end of image.\n");
}

TEST(PcxReader, WrongManufacturerOrEncoding) {
    PcxFields f;
    f.manufacturer = 11;
    Failure fail = DirectFailure(Cat(PcxHeader(f), Bytes{1}));
    EXPECT_EQ(fail.code, pl_error::WrongSignature);
    EXPECT_EQ(fail.message, "Decoder error: Error decoding pcx: Not a PCX file.\n");

    PcxFields g;
    g.encoding = 0;
    fail = DirectFailure(Cat(PcxHeader(g), Bytes{1}));
    EXPECT_EQ(fail.code, pl_error::WrongSignature);
    EXPECT_EQ(fail.message, "Decoder error: File has unknown encoding scheme.\n");
}

TEST(PcxReader, LayoutsThatAreNotHandled) {
    struct Case {
        std::uint8_t bits;
        std::uint8_t planes;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {1, 5, pl_error::FormatError, "Can't handle image with more than 4 planes."},
        {1, 0, pl_error::FormatError, "Can't handle bits per pixel image with planes."},
        {8, 2, pl_error::FormatError, "Can't handle bits per pixel image with planes."},
        {8, 4, pl_error::FormatError, "Can't handle bits per pixel image with planes."},
        {3, 1, pl_error::FormatError, "Can't handle bits per pixel image with planes."},
        {16, 1, pl_error::FormatError, "Can't handle bits per pixel image with planes."},
        {4, 3, pl_error::InternalLimit, "Can't handle more than 1 bit per pixel."},
        {2, 3, pl_error::InternalLimit, "Can't handle more than 1 bit per pixel."},
    };
    for (const Case& c : cases) {
        PcxFields f;
        f.bitsPerPixel = c.bits;
        f.planes = c.planes;
        f.width = 8;
        const Failure fail = AutoFailure(Cat(PcxHeader(f), Bytes(64, 1)));
        EXPECT_EQ(fail.code, c.code) << int{c.bits} << "/" << int{c.planes};
        EXPECT_EQ(fail.message, std::string("Decoder error: ") + c.message + "\n");
    }
}

TEST(PcxReader, LinesShorterThanTheWidthAreRefused) {
    PcxFields f;
    f.width = 10;
    f.bytesPerLine = 9;
    Failure fail = AutoFailure(Cat(PcxHeader(f), Bytes(16, 1)));
    EXPECT_EQ(fail.code, pl_error::FormatError);

    PcxFields g;
    g.bitsPerPixel = 1;
    g.width = 9;
    g.bytesPerLine = 1;
    fail = AutoFailure(Cat(PcxHeader(g), Bytes(16, 1)));
    EXPECT_EQ(fail.code, pl_error::FormatError);
}

TEST(PcxReader, EmptyOrInvertedBoundsAreRefused) {
    Bytes b = PcxHeader(PcxFields{});
    PutU16(b, 4, 5);  // xmin past xmax
    PutU16(b, 8, 2);
    EXPECT_EQ(AutoFailure(Cat(b, Bytes{1})).code, pl_error::FormatError);
}

TEST(PcxReader, ShortHeaderIsCode11AndHugeTinyFilesMeetTheSizeCap) {
    const Bytes header = PcxHeader(PcxFields{});
    const Bytes cut(header.begin(), header.begin() + 100);
    EXPECT_EQ(AutoFailure(cut).code, pl_error::EndOfFile);

    PcxFields f;
    f.planes = 3;
    f.width = 60000;
    f.height = 60000;
    const Failure fail = AutoFailure(Cat(PcxHeader(f), Bytes(100, 1)));
    EXPECT_EQ(fail.code, pl_error::OutOfMemory);
}

TEST(PcxReader, TracesItsWork) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "velmora_pcx_reader_trace.txt";
    std::filesystem::remove(path);
    PLSetTraceConfig(5, path.string());
    PLMemoryRaster raster;
    Decode(Cat(PcxHeader(PcxFields{}), Bytes{1}), raster);
    PLSetTraceConfig(0, "");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_NE(text.str().find("Decoding PCX.\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora::picture
