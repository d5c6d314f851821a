// The PSD reader: channels, alpha, greyscale and indexed pictures.
#include "picture/pl_psd_reader.h"

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

void PutU16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void PutU32(Bytes& b, std::uint32_t v) {
    PutU16(b, v >> 16);
    PutU16(b, v & 0xFFFF);
}

void PutText(Bytes& b, const std::string& text) {
    b.insert(b.end(), text.begin(), text.end());
}

void PutBytes(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// One resource block: "8BIM", id, padded Pascal name, size, padded data.
Bytes Resource(unsigned id, const std::string& name, const Bytes& data) {
    Bytes b;
    PutText(b, "8BIM");
    PutU16(b, id);
    b.push_back(static_cast<std::uint8_t>(name.size()));
    PutText(b, name);
    if ((1 + name.size()) % 2 != 0) {
        b.push_back(0);
    }
    PutU32(b, static_cast<std::uint32_t>(data.size()));
    PutBytes(b, data);
    if (data.size() % 2 != 0) {
        b.push_back(0);
    }
    return b;
}

Bytes ResolutionInfo(std::uint32_t fixedX, std::uint32_t fixedY) {
    Bytes b;
    PutU32(b, fixedX);
    PutU16(b, 1);
    PutU16(b, 1);
    PutU32(b, fixedY);
    PutU16(b, 1);
    PutU16(b, 1);
    return b;
}

// PackBits of one row: literal packets of up to 128 bytes, or runs for
// stretches of three or more equal bytes.
Bytes PackRow(const Bytes& row) {
    Bytes out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && row[i + run] == row[i] && run < 128) {
            ++run;
        }
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        std::size_t n = 0;
        while (i + n < row.size() && n < 128 &&
               !(i + n + 2 < row.size() && row[i + n] == row[i + n + 1] &&
                 row[i + n] == row[i + n + 2])) {
            ++n;
        }
        if (n == 0) {
            n = 1;
        }
        out.push_back(static_cast<std::uint8_t>(n - 1));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    return out;
}

struct Psd {
    int channels = 3;
    std::uint32_t width = 2;
    std::uint32_t height = 2;
    int depth = 8;
    int mode = 3;
    int version = 1;
    Bytes colourModeData;
    Bytes resources;
    Bytes layers;
    int compression = 1;
    // Channel planes, each width × height samples top-down.
    std::vector<Bytes> planes;
};

Bytes Build(const Psd& p) {
    Bytes b;
    PutText(b, "8BPS");
    PutU16(b, static_cast<unsigned>(p.version));
    b.insert(b.end(), 6, 0);
    PutU16(b, static_cast<unsigned>(p.channels));
    PutU32(b, p.height);
    PutU32(b, p.width);
    PutU16(b, static_cast<unsigned>(p.depth));
    PutU16(b, static_cast<unsigned>(p.mode));
    for (const Bytes* section : {&p.colourModeData, &p.resources, &p.layers}) {
        PutU32(b, static_cast<std::uint32_t>(section->size()));
        PutBytes(b, *section);
    }
    PutU16(b, static_cast<unsigned>(p.compression));
    std::vector<Bytes> rows;
    for (const Bytes& plane : p.planes) {
        for (std::uint32_t y = 0; y < p.height; ++y) {
            const auto begin = plane.begin() + static_cast<std::ptrdiff_t>(y * p.width);
            rows.push_back(PackRow(Bytes(begin, begin + p.width)));
        }
    }
    for (const Bytes& row : rows) {
        PutU16(b, static_cast<unsigned>(row.size()));
    }
    for (const Bytes& row : rows) {
        PutBytes(b, row);
    }
    return b;
}

Bgra Pixel(const PLRaster& raster, int x, int y) {
    const std::uint8_t* p = raster.GetLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

void Decode(const Bytes& file, PLRaster& raster, int bpp = 32) {
    PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, bpp);
}

Failure AutoFailure(const Bytes& file) {
    return testing::DecoderFailure(file);
}

Psd Rgb() {
    Psd p;
    p.planes = {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}};
    return p;
}

TEST(PsdReader, RgbChannelsGoToRedGreenBlue) {
    PLMemoryRaster raster;
    Decode(Build(Rgb()), raster);
    ASSERT_EQ(raster.GetBitsPerPixel(), 32);
    EXPECT_FALSE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{90, 50, 10, 255}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{100, 60, 20, 255}));
    EXPECT_EQ(Pixel(raster, 0, 1), (Bgra{110, 70, 30, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{120, 80, 40, 255}));
    EXPECT_EQ(raster.GetResolutionX(), 0);
}

TEST(PsdReader, FourthChannelIsAlphaAndFurtherOnesAreIgnored) {
    Psd p = Rgb();
    p.channels = 4;
    p.planes.push_back({0, 128, 255, 1});
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    EXPECT_TRUE(raster.HasAlpha());
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{90, 50, 10, 0}));
    EXPECT_EQ(Pixel(raster, 1, 0), (Bgra{100, 60, 20, 128}));
    EXPECT_EQ(Pixel(raster, 0, 1), (Bgra{110, 70, 30, 255}));
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{120, 80, 40, 1}));

    // A fifth channel is neither shown nor even needed in the file.
    p.channels = 5;
    p.planes.push_back({9, 9, 9, 9});
    Bytes file = Build(p);
    file.resize(file.size() - 4);
    PLMemoryRaster five;
    Decode(file, five);
    EXPECT_EQ(Pixel(five, 1, 1), (Bgra{120, 80, 40, 1}));
}

TEST(PsdReader, GreyscaleIsEightBitWithTheGreyRamp) {
    Psd p;
    p.mode = 1;
    p.channels = 2;  // the second (an alpha mask) is ignored
    p.width = 3;
    p.height = 1;
    p.planes = {{0, 77, 255}, {1, 2, 3}};
    PLMemoryRaster raster;
    Decode(Build(p), raster, 0);
    ASSERT_EQ(raster.GetBitsPerPixel(), 8);
    EXPECT_EQ(raster.GetLine(0)[1], 77);
    PLMemoryRaster wide;
    Decode(Build(p), wide);
    EXPECT_EQ(Pixel(wide, 1, 0), (Bgra{77, 77, 77, 255}));
    EXPECT_EQ(Pixel(wide, 2, 0), (Bgra{255, 255, 255, 255}));
}

TEST(PsdReader, IndexedPicturesUseTheColourModeData) {
    Psd p;
    p.mode = 2;
    p.channels = 1;
    p.width = 3;
    p.height = 1;
    p.colourModeData.resize(768);
    for (int i = 0; i < 256; ++i) {
        p.colourModeData[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        p.colourModeData[256 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i);
        p.colourModeData[512 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i / 4);
    }
    p.planes = {{0, 100, 255}};
    PLMemoryRaster raster;
    Decode(Build(p), raster, 0);
    ASSERT_EQ(raster.GetBitsPerPixel(), 8);
    const std::uint8_t* entry = raster.GetPalette() + 4 * 100;
    EXPECT_EQ((Bgra{entry[0], entry[1], entry[2], entry[3]}), (Bgra{25, 155, 100, 255}));
    PLMemoryRaster wide;
    Decode(Build(p), wide);
    EXPECT_EQ(Pixel(wide, 0, 0), (Bgra{0, 255, 0, 255}));
    EXPECT_EQ(Pixel(wide, 2, 0), (Bgra{63, 0, 255, 255}));
}

TEST(PsdReader, Resource1005GivesTheResolution) {
    Psd p = Rgb();
    PutBytes(p.resources, Resource(1000, "odd", {1, 2, 3}));  // odd data size
    PutBytes(p.resources, Resource(1005, "", ResolutionInfo(0x0048'8000, 0x012C'0000)));
    PutBytes(p.resources, Resource(1036, "ab", {}));
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    EXPECT_EQ(raster.GetResolutionX(), 72);
    EXPECT_EQ(raster.GetResolutionY(), 300);
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{120, 80, 40, 255}));
}

TEST(PsdReader, ResolutionResourceShorterThanItsFieldsIsIgnored) {
    Psd p = Rgb();
    Bytes shortInfo = ResolutionInfo(0x0048'0000, 0x0048'0000);
    shortInfo.resize(10);
    p.resources = Resource(1005, "", shortInfo);
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    EXPECT_EQ(raster.GetResolutionX(), 0);
    EXPECT_EQ(raster.GetResolutionY(), 0);
    EXPECT_EQ(Pixel(raster, 1, 1), (Bgra{120, 80, 40, 255}));
}

TEST(PsdReader, LastResourceMayLackItsPadByte) {
    Psd p = Rgb();
    PutBytes(p.resources, Resource(1005, "x", ResolutionInfo(0x0060'0000, 0x0060'0000)));
    PutBytes(p.resources, Resource(1000, "", {1}));
    p.resources.pop_back();
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    EXPECT_EQ(raster.GetResolutionX(), 96);
}

TEST(PsdReader, WrongResourceSignature) {
    Psd p = Rgb();
    p.resources = Resource(1005, "", ResolutionInfo(0, 0));
    p.resources[0] = 'X';
    const Failure fail = AutoFailure(Build(p));
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message,
              "Decoder error: PSD decoder: Wrong signature in resource data block.\n");
}

TEST(PsdReader, ResourceRunningPastItsSectionEndsWithCode11) {
    Psd p = Rgb();
    p.resources = Resource(1000, "", Bytes(10, 1));
    p.resources.resize(p.resources.size() - 4);
    EXPECT_EQ(AutoFailure(Build(p)).code, pl_error::EndOfFile);
}

TEST(PsdReader, LayersAreSkipped) {
    Psd p = Rgb();
    PutU32(p.layers, 6);       // layer info length
    PutU16(p.layers, 0xFFFD);  // -3 layers
    PutBytes(p.layers, Bytes(21, 0xEE));
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    EXPECT_EQ(Pixel(raster, 0, 0), (Bgra{90, 50, 10, 255}));
}

TEST(PsdReader, CompressionsOtherThanRleAreRefused) {
    for (int compression : {0, 2, 3}) {
        Psd p = Rgb();
        p.compression = compression;
        const Failure fail = AutoFailure(Build(p));
        EXPECT_EQ(fail.code, pl_error::FormatError);
        EXPECT_EQ(fail.message, "Decoder error: PSD decoder: Compression type not supported.\n");
    }
    Psd p = Rgb();
    p.compression = 4;
    const Failure fail = AutoFailure(Build(p));
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: PSD decoder: Compression unknown.\n");
}

TEST(PsdReader, UnsupportedModesAndDepths) {
    for (int mode : {0, 4, 7, 8, 9}) {
        Psd p = Rgb();
        p.mode = mode;
        p.channels = 4;
        p.planes.push_back({0, 0, 0, 0});
        const Failure fail = AutoFailure(Build(p));
        EXPECT_EQ(fail.code, pl_error::NotSupported) << mode;
        EXPECT_EQ(fail.message, "Decoder error: This PSD color mode is not supported.\n");
    }
    Psd deep = Rgb();
    deep.depth = 16;
    EXPECT_EQ(AutoFailure(Build(deep)).code, pl_error::NotSupported);
    Psd version2 = Rgb();
    version2.version = 2;
    EXPECT_EQ(AutoFailure(Build(version2)).code, pl_error::NotSupported);
}

TEST(PsdReader, BadHeaders) {
    Bytes wrong = Build(Rgb());
    wrong[3] = 'X';
    PLMemoryRaster raster;
    PLMemoryInput input(wrong.data(), wrong.size());
    try {
        PLPsdReader().Decode(input, raster, nullptr);
        FAIL() << "no exception";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::FormatError);
        EXPECT_STREQ(e.GetMessage(), "Decoder error: PSD decoder: This isn't a photoshop file.\n");
    }

    Psd none = Rgb();
    none.channels = 0;
    none.planes.clear();
    EXPECT_EQ(AutoFailure(Build(none)).code, pl_error::FormatError);

    Psd two = Rgb();
    two.channels = 2;
    two.planes.pop_back();
    EXPECT_EQ(AutoFailure(Build(two)).code, pl_error::FormatError);

    Psd empty = Rgb();
    empty.width = 0;
    empty.planes.clear();
    EXPECT_EQ(AutoFailure(Build(empty)).code, pl_error::FormatError);
}

TEST(PsdReader, PackBitsRunsAndNoOps) {
    Psd p;
    p.mode = 1;
    p.channels = 1;
    p.width = 6;
    p.height = 1;
    p.compression = 1;
    Bytes file = Build(p);  // no rows yet
    PutU16(file, 8);
    // no-op, run of 3 × 9, literal 1 2, literal 5
    for (std::uint8_t b : {0x80, 0xFE, 9, 0x01, 1, 2, 0x00, 5}) {
        file.push_back(b);
    }
    PLMemoryRaster raster;
    Decode(file, raster, 0);
    const std::uint8_t* row = raster.GetLine(0);
    EXPECT_EQ((Bytes(row, row + 6)), (Bytes{9, 9, 9, 1, 2, 5}));
}

TEST(PsdReader, RowsThatDisagreeWithTheWidth) {
    Psd p;
    p.mode = 1;
    p.channels = 1;
    p.width = 4;
    p.height = 1;
    const Bytes head = Build(p);

    // A run of 5 in a row of 4.
    Bytes overlong = head;
    PutU16(overlong, 2);
    overlong.push_back(0xFC);
    overlong.push_back(1);
    Failure fail = AutoFailure(overlong);
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: PSD decoder: Run goes past the end of the row.\n");

    // Three samples where four are needed.
    Bytes shortRow = head;
    PutU16(shortRow, 4);
    for (std::uint8_t b : {0x02, 1, 2, 3}) {
        shortRow.push_back(b);
    }
    fail = AutoFailure(shortRow);
    EXPECT_EQ(fail.code, pl_error::FormatError);
    EXPECT_EQ(fail.message, "Decoder error: PSD decoder: Row data too short.\n");

    // A literal packet that claims more bytes than the row's count.
    Bytes literal = head;
    PutU16(literal, 3);
    for (std::uint8_t b : {0x03, 1, 2, 3, 4}) {
        literal.push_back(b);
    }
    EXPECT_EQ(AutoFailure(literal).code, pl_error::FormatError);
}

TEST(PsdReader, TruncationsEndWithCode11) {
    const Bytes whole = Build(Rgb());
    for (std::size_t size : {std::size_t{10}, std::size_t{30}, std::size_t{40}, whole.size() - 1}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        const Failure fail = AutoFailure(cut);
        EXPECT_EQ(fail.code, pl_error::EndOfFile) << size;
    }

    // A section length that points far past the end.
    Bytes wild = whole;
    wild[26] = 0x7F;
    EXPECT_EQ(AutoFailure(wild).code, pl_error::EndOfFile);
}

TEST(PsdReader, HugeDeclaredSizeWithATinyFileIsRefusedBeforeAllocating) {
    Psd p = Rgb();
    p.width = 30000;
    p.height = 30000;
    p.planes.clear();
    PLMemoryRaster raster;
    const Bytes file = Build(p);
    try {
        Decode(file, raster);
        FAIL() << "no exception";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), pl_error::EndOfFile);
    }
    EXPECT_EQ(raster.GetWidth(), 16);

    p.width = 30001;
    p.height = 1;
    EXPECT_EQ(AutoFailure(Build(p)).code, pl_error::FormatError);
}

TEST(PsdReader, TracesItsWork) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "velmora_psd_reader_trace.txt";
    std::filesystem::remove(path);
    PLSetTraceConfig(5, path.string());
    Psd p = Rgb();
    p.resources = Resource(1005, "Resolution", ResolutionInfo(0, 0));
    PutU32(p.layers, 2);
    PutU16(p.layers, 0xFFFD);
    PLMemoryRaster raster;
    Decode(Build(p), raster);
    PLSetTraceConfig(0, "");
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    EXPECT_NE(text.str().find("Reading resource: Resolution\n"), std::string::npos);
    EXPECT_NE(text.str().find("Number of layers: 3\n"), std::string::npos);
    EXPECT_NE(text.str().find("RLE compression\n"), std::string::npos);
}

}  // namespace
}  // namespace velmora::picture
