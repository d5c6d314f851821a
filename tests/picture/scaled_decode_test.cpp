// Pictures scaled row by row as they are read give the bytes of scaling the
// full-size picture afterwards, and need no full-size raster.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

using testing::Bytes;

constexpr int kWidth = 37;
constexpr int kHeight = 29;

std::uint8_t Sample(int x, int y, int channel) {
    return static_cast<std::uint8_t>((x * 53 + y * 31 + channel * 87 + x * y * 7) & 0xFF);
}

void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Put16Be(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}
void Put32Be(Bytes& b, unsigned v) {
    Put16Be(b, v >> 16);
    Put16Be(b, v & 0xFFFF);
}

// 24-bit (rle false) or RLE8 with a grey palette that ends with an
// end-of-bitmap escape two thirds of the way up; rows bottom-up either way.
Bytes Bmp(bool rle) {
    Bytes pixels;
    for (int y = kHeight - 1; y >= 0; --y) {
        if (rle && y == kHeight / 3) {
            pixels.insert(pixels.end(), {0, 1});
            break;
        }
        for (int x = 0; x < kWidth; ++x) {
            if (rle) {
                pixels.insert(pixels.end(), {1, Sample(x, y, 0)});
            } else {
                pixels.insert(pixels.end(), {Sample(x, y, 0), Sample(x, y, 1), Sample(x, y, 2)});
            }
        }
        if (rle) {
            pixels.insert(pixels.end(), {0, 0});
        } else {
            pixels.resize((pixels.size() + 3) / 4 * 4);
        }
    }
    const unsigned paletteBytes = rle ? 1024 : 0;
    Bytes b = {'B', 'M'};
    Put32(b, 54 + paletteBytes + static_cast<unsigned>(pixels.size()));
    Put32(b, 0);
    Put32(b, 54 + paletteBytes);
    for (const unsigned v : {40u, unsigned{kWidth}, unsigned{kHeight}}) {
        Put32(b, v);
    }
    Put16(b, 1);
    Put16(b, rle ? 8 : 24);
    for (const unsigned v : {rle ? 1u : 0u, 0u, 2835u, 2835u, 0u, 0u}) {
        Put32(b, v);
    }
    for (unsigned i = 0; i < paletteBytes / 4; ++i) {
        b.insert(b.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i / 2), 0});
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// 24-bit run-length encoded, bottom-up (or top-down with descriptor 0x20);
// every third pixel repeats in a run packet.
Bytes Tga(bool topDown) {
    Bytes b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(b, kWidth);
    Put16(b, kHeight);
    b.insert(b.end(), {24, static_cast<std::uint8_t>(topDown ? 0x20 : 0)});
    for (int r = 0; r < kHeight; ++r) {
        const int y = topDown ? r : kHeight - 1 - r;
        for (int x = 0; x < kWidth; ++x) {
            const bool run = x % 3 == 0 && x + 1 < kWidth;
            b.push_back(run ? 0x81 : 0x00);
            b.insert(b.end(), {Sample(x, y, 0), Sample(x, y, 1), Sample(x, y, 2)});
            x += run ? 1 : 0;
        }
    }
    return b;
}

// 24-bit, three planes per line.
Bytes Pcx() {
    Bytes b(128, 0);
    b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8;
    b[8] = kWidth - 1, b[10] = kHeight - 1, b[12] = 72, b[14] = 72, b[65] = 3;
    b[66] = kWidth + 1;  // an even line, one pad byte
    for (int y = 0; y < kHeight; ++y) {
        for (int plane = 0; plane < 3; ++plane) {
            for (int x = 0; x <= kWidth; ++x) {
                const std::uint8_t v = x < kWidth ? Sample(x, y, 2 - plane) : 0;
                if (v >= 192) {
                    b.push_back(0xC1);
                }
                b.push_back(v);
            }
        }
    }
    return b;
}

// RGB, four channels (alpha from the fourth), PackBits rows of literals.
Bytes Psd() {
    Bytes b = {'8', 'B', 'P', 'S'};
    Put16Be(b, 1);
    b.insert(b.end(), 6, 0);
    Put16Be(b, 4);
    Put32Be(b, kHeight);
    Put32Be(b, kWidth);
    Put16Be(b, 8);
    Put16Be(b, 3);
    for (int section = 0; section < 3; ++section) {
        Put32Be(b, 0);
    }
    Put16Be(b, 1);
    for (int i = 0; i < 4 * kHeight; ++i) {
        Put16Be(b, kWidth + 1);
    }
    for (int c = 0; c < 4; ++c) {
        for (int y = 0; y < kHeight; ++y) {
            b.push_back(kWidth - 1);
            for (int x = 0; x < kWidth; ++x) {
                b.push_back(Sample(x, y, c));
            }
        }
    }
    return b;
}

Bytes Png(int colourType, bool interlaced) {
    const int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : 1;
    Bytes samples;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (int c = 0; c < channels; ++c) {
                samples.push_back(Sample(x, y, c));
            }
        }
    }
    Bytes palette;
    for (int i = 0; i < 256; ++i) {
        palette.insert(palette.end(), {Sample(i, 1, 0), Sample(i, 2, 1), Sample(i, 3, 2)});
    }
    return testing::EncodePng(kWidth, kHeight, colourType, 8, samples,
                              colourType == PNG_COLOR_TYPE_PALETTE ? palette : Bytes{}, 0,
                              interlaced);
}

bool SameBytes(const PLRaster& a, const PLRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() ||
        a.GetBitsPerPixel() != b.GetBitsPerPixel() || a.HasAlpha() != b.HasAlpha() ||
        a.GetResolutionX() != b.GetResolutionX()) {
        return false;
    }
    for (int y = 0; y < a.GetHeight(); ++y) {
        if (std::memcmp(a.GetLine(y), b.GetLine(y), a.GetBytesPerLine()) != 0) {
            return false;
        }
    }
    return true;
}

TEST(ScaledDecode, GivesTheBytesOfScalingTheFullSizePicture) {
    struct Case {
        std::string name;
        Bytes file;
        bool streams;
    };
    const Case cases[] = {
        {"24-bit BMP, bottom-up", Bmp(false), true},
        {"RLE8 BMP ending early", Bmp(true), true},
        {"RLE TGA, bottom-up", Tga(false), true},
        {"RLE TGA, top-down", Tga(true), true},
        {"PCX", Pcx(), true},
        {"PSD with alpha", Psd(), true},
        {"RGB PNG", Png(PNG_COLOR_TYPE_RGB, false), true},
        {"palette PNG", Png(PNG_COLOR_TYPE_PALETTE, false), true},
        {"interlaced PNG, read at full size", Png(PNG_COLOR_TYPE_RGB, true), false},
    };
    // A reduction, an enlargement, and both at once.
    const PLSize sizes[] = {{13, 11}, {80, 61}, {90, 7}};
    for (const Case& c : cases) {
        for (const PLSize size : sizes) {
            PLMemoryRaster expected;
            PLAutoDecoder().DecodeMemoryToRaster(c.file.data(), c.file.size(), expected, 32);
            ASSERT_EQ(expected.GetWidth(), kWidth) << c.name;
            expected.ApplyRasterFilter(PLScaleFilter(size.width, size.height));

            bool asked = false;
            PLDecodeHint hint(size.width, size.height, false);
            hint.scaledSize = [&](PLSize picture) {
                asked = picture.width == kWidth && picture.height == kHeight;
                return size;
            };
            PLMemoryRaster scaled;
            PLAutoDecoder().DecodeMemoryToRaster(c.file.data(), c.file.size(), scaled, 32, &hint);
            EXPECT_EQ(asked, c.streams) << c.name;
            if (!asked) {
                scaled.ApplyRasterFilter(PLScaleFilter(size.width, size.height));
            }
            EXPECT_TRUE(SameBytes(expected, scaled)) << c.name << " to " << size.width;
        }
    }
}

// A picture whose full-size raster the cap refuses still decodes with a
// box: nothing of its size is allocated.
TEST(ScaledDecode, APictureBeyondTheRasterCapDecodesWithABox) {
    constexpr int kSide = 2000;
    const Bytes file = testing::EncodePng(kSide, kSide, PNG_COLOR_TYPE_GRAY, 8,
                                          Bytes(std::size_t{kSide} * kSide, 77));
    const std::size_t cap = PLRaster::GetMaximumBytes();
    PLRaster::SetMaximumBytes(std::size_t{kSide} * kSide);
    PLMemoryRaster full;
    int fullCode = 0;
    try {
        PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), full, 32);
    } catch (const PLTextException& e) {
        fullCode = e.GetCode();
    }
    PLDecodeHint hint(512, 512, true);
    hint.scaledSize = [](PLSize) { return PLSize{512, 512}; };
    PLMemoryRaster scaled;
    int scaledCode = 0;
    try {
        PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), scaled, 32, &hint);
    } catch (const PLTextException& e) {
        scaledCode = e.GetCode();
    }
    PLRaster::SetMaximumBytes(cap);
    EXPECT_EQ(fullCode, pl_error::OutOfMemory);
    ASSERT_EQ(scaledCode, 0);
    ASSERT_EQ(scaled.GetWidth(), 512);
    EXPECT_EQ(scaled.GetLine(511)[PL_GREEN], 77);
}

}  // namespace
}  // namespace velmora::picture
