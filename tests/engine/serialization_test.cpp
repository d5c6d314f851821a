// Array records, packed resources and texture records: round trips and damaged data.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "engine/array_record.h"
#include "engine/mesh.h"
#include "engine/texture.h"
#include "tests/engine/engine_test_support.h"

namespace velmora::engine {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

Bytes TexRecord(std::uint8_t version, std::uint32_t w, std::uint32_t h, std::uint32_t bpp,
                const char* name) {
    Bytes b = {0x47, version};
    PutU32(b, w);
    PutU32(b, h);
    PutU32(b, bpp);
    const std::uint32_t nameCount = static_cast<std::uint32_t>(std::strlen(name) + 1);
    PutU32(b, nameCount);
    PutU32(b, 1);
    PutU32(b, nameCount);
    b.insert(b.end(), name, name + nameCount);
    for (std::uint32_t i = 0; i < w * h * bpp; ++i) {
        b.push_back(static_cast<std::uint8_t>(i));
    }
    return b;
}

Bytes Wrap(const Bytes& record, bool compressed, std::uint32_t claimedSize = 0) {
    Bytes out = {8, 1, static_cast<std::uint8_t>(compressed ? 1 : 0), 0xCC};
    PutU32(out, compressed ? static_cast<std::uint32_t>(record.size()) : claimedSize);
    if (!compressed) {
        out.insert(out.end(), record.begin(), record.end());
        return out;
    }
    uLongf size = compressBound(static_cast<uLong>(record.size()));
    Bytes packed(size);
    compress(packed.data(), &size, record.data(), static_cast<uLong>(record.size()));
    out.insert(out.end(), packed.begin(), packed.begin() + size);
    return out;
}

TEST(ArrayRecord, RoundTripsAndRefusesRecordsThatDoNotHold) {
    FloatArray array;
    ASSERT_TRUE(array.Resize(3));
    array[0] = 1.5f, array[1] = -2.0f, array[2] = 3.25f;
    std::size_t size = 0;
    ASSERT_EQ(array.RecordSize(size), S_OK);
    EXPECT_EQ(size, 12u + 12u);
    Bytes record(size);
    ASSERT_EQ(array.Serialize(SerializeDirection::Write, record.data(), size, nullptr, false),
              S_OK);

    FloatArray copy;
    std::size_t counted = 0;
    ASSERT_EQ(copy.Serialize(SerializeDirection::Read, record.data(), size, &counted, false), S_OK);
    EXPECT_EQ(counted, size);
    EXPECT_EQ(copy.Count(), 3u);
    EXPECT_EQ(copy[2], 3.25f);

    Bytes shortRecord(record.begin(), record.end() - 1);
    EXPECT_EQ(copy.Serialize(SerializeDirection::Read, shortRecord.data(), shortRecord.size(),
                             nullptr, false),
              E_FAIL);
    Bytes countAboveCapacity = record;
    countAboveCapacity[0] = 2;  // capacity 2, count 3
    EXPECT_EQ(copy.Serialize(SerializeDirection::Read, countAboveCapacity.data(),
                             countAboveCapacity.size(), nullptr, false),
              E_FAIL);
    ByteArray bytes;  // element size 1 against a record of 4-byte elements
    EXPECT_EQ(bytes.Serialize(SerializeDirection::Read, record.data(), size, nullptr, false),
              E_FAIL);
    Bytes huge = record;
    huge[3] = 0x7F;  // a capacity of two billion elements
    EXPECT_EQ(copy.Serialize(SerializeDirection::Read, huge.data(), huge.size(), nullptr, false),
              E_FAIL);
    const Bytes empty = {0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    counted = 0;
    EXPECT_EQ(copy.Serialize(SerializeDirection::Read, const_cast<std::uint8_t*>(empty.data()),
                             empty.size(), &counted, false),
              S_OK);
    EXPECT_EQ(copy.Count(), 0u);
    EXPECT_EQ(counted, 12u);
}

TEST(PackedResource, UncompressedPayloadsIgnoreTheSizeField) {
    const Bytes packed = Wrap(TexRecord(1, 2, 1, 3, "x"), false, 0xDEADBEEF);
    Texture texture;
    ASSERT_EQ(texture.LoadPacked(packed.data(), packed.size()), S_OK);
    EXPECT_EQ(texture.Width(), 2);
    EXPECT_STREQ(texture.Name(), "x");
}

TEST(PackedResource, ZlibFailuresAndShortWrappers) {
    Bytes packed = Wrap(TexRecord(1, 4, 4, 3, "tile"), true);
    Texture texture;
    ASSERT_EQ(texture.LoadPacked(packed.data(), packed.size()), S_OK);
    EXPECT_EQ(texture.Height(), 4);

    Bytes damaged = packed;
    damaged[10] ^= 0xFF;
    EXPECT_EQ(texture.LoadPacked(damaged.data(), damaged.size()), E_INVALIDARG);
    Bytes tooSmall = packed;
    tooSmall[4] = 10;  // inflated size claimed too small
    tooSmall[5] = 0;
    EXPECT_EQ(texture.LoadPacked(tooSmall.data(), tooSmall.size()), E_INVALIDARG);
    const Bytes stub = {8, 1, 1};
    EXPECT_EQ(texture.LoadPacked(stub.data(), stub.size()), E_FAIL);
    Bytes headerPastEnd = packed;
    headerPastEnd[0] = 0xFF;
    headerPastEnd.resize(20);
    EXPECT_EQ(texture.LoadPacked(headerPastEnd.data(), headerPastEnd.size()), E_FAIL);
    EXPECT_EQ(texture.LoadPacked(nullptr, 10), E_POINTER);
}

TEST(TexRecord, VersionsAndDamagedRecords) {
    Texture texture;
    const Bytes good = Wrap(TexRecord(1, 2, 2, 4, "keep"), false);
    ASSERT_EQ(texture.LoadPacked(good.data(), good.size()), S_OK);

    const Bytes version2 = Wrap(TexRecord(2, 1, 1, 3, "new"), false);
    EXPECT_EQ(texture.LoadPacked(version2.data(), version2.size()), E_FAIL);
    EXPECT_STREQ(texture.Name(), "keep");  // unchanged
    EXPECT_EQ(texture.BytesPerPixel(), 4);
    Bytes badMagic = good;
    badMagic[8] = 0x48;
    EXPECT_EQ(texture.LoadPacked(badMagic.data(), badMagic.size()), E_FAIL);
    EXPECT_EQ(texture.Width(), 2);

    const Bytes version0 = Wrap(TexRecord(0, 1, 1, 3, "old"), false);
    EXPECT_EQ(texture.LoadPacked(version0.data(), version0.size()), S_OK);
    EXPECT_STREQ(texture.Name(), "old");
    // A negative version byte reads as older, not newer.
    const Bytes negative = Wrap(TexRecord(0xFF, 1, 1, 3, "neg"), false);
    EXPECT_EQ(texture.LoadPacked(negative.data(), negative.size()), S_OK);

    Bytes truncated = Wrap(TexRecord(1, 8, 8, 3, "cut"), false);
    truncated.resize(truncated.size() - 1);
    EXPECT_EQ(texture.LoadPacked(truncated.data(), truncated.size()), E_FAIL);
    EXPECT_EQ(texture.Pixels(), nullptr);

    Bytes giant = Wrap(TexRecord(1, 1, 1, 3, "g"), false);
    giant[8 + 2] = 0xFF, giant[8 + 3] = 0xFF, giant[8 + 4] = 0xFF;  // width 16 million
    EXPECT_EQ(texture.LoadPacked(giant.data(), giant.size()), E_FAIL);

    Bytes unterminated = Wrap(TexRecord(1, 1, 1, 3, "ab"), false);
    unterminated[8 + 26 + 2] = 'c';  // the name's NUL
    EXPECT_EQ(texture.LoadPacked(unterminated.data(), unterminated.size()), E_FAIL);
    EXPECT_STREQ(texture.Name(), "");
}

TEST(TexRecord, CopyFromRoundTripsAndCountsTheFullRecord) {
    const Bytes record = TexRecord(1, 3, 2, 4, "copy.bmp");
    const Bytes packed = Wrap(record, true);
    Texture original;
    ASSERT_EQ(original.LoadPacked(packed.data(), packed.size()), S_OK);
    std::size_t size = 0;
    ASSERT_EQ(original.RecordSize(size), S_OK);
    EXPECT_EQ(size, record.size());
    Texture copy;
    ASSERT_EQ(copy.CopyFrom(original), S_OK);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.BytesPerPixel(), 4);
    EXPECT_STREQ(copy.Name(), "copy.bmp");
    EXPECT_EQ(0, std::memcmp(copy.Pixels(), original.Pixels(), original.PixelBytes()));
    EXPECT_TRUE(copy.IsDirty());
}

TEST(BuiltInTextures, InflateAndReadWithTheirSizesAndNames) {
    struct Expected {
        const char* resource;
        int side;
        int bpp;
        const char* name;
        std::size_t recordBytes;
    };
    for (const Expected& e : {Expected{"CHROME.TEX", 128, 3, "chrome.bmp", 49189},
                              Expected{"SKY.TEX", 128, 3, "sky.bmp", 49186},
                              Expected{"DEFAULT.TEX", 256, 3, "default.bmp", 196646},
                              Expected{"FONT1-A.TEX", 256, 4, "font1-a.bmp", 262182}}) {
        SCOPED_TRACE(e.resource);
        const Bytes packed = testing::PackedBytes(e.resource);
        ASSERT_GT(packed.size(), 8u);
        const Bytes header(packed.begin(), packed.begin() + 4);
        EXPECT_EQ(header, (Bytes{0x08, 0x01, 0x01, 0xCC}));
        EXPECT_EQ(packed[8], 0x78);
        EXPECT_EQ(packed[9], 0x9C);
        const std::uint32_t inflated = packed[4] | (packed[5] << 8) | (packed[6] << 16) |
                                       (static_cast<std::uint32_t>(packed[7]) << 24);
        EXPECT_EQ(inflated, e.recordBytes);
        Texture texture;
        ASSERT_EQ(texture.LoadFromResource(e.resource), S_OK);
        EXPECT_EQ(texture.Width(), e.side);
        EXPECT_EQ(texture.Height(), e.side);
        EXPECT_EQ(texture.BytesPerPixel(), e.bpp);
        EXPECT_STREQ(texture.Name(), e.name);
    }
    Texture missing;
    EXPECT_EQ(missing.LoadFromResource("NOPE.TEX"), E_FAIL);
}

TEST(BuiltInTextures, TheFontIsWhiteOnClearWithAlphaEqualToGrey) {
    Texture font;
    ASSERT_EQ(font.LoadFromResource("FONT1-A.TEX"), S_OK);
    const std::uint8_t* p = font.Pixels();
    std::size_t lit = 0;
    for (std::size_t i = 0; i < 256 * 256; ++i) {
        ASSERT_EQ(p[4 * i], p[4 * i + 1]);
        ASSERT_EQ(p[4 * i], p[4 * i + 2]);
        ASSERT_EQ(p[4 * i], p[4 * i + 3]);
        lit += p[4 * i] > 128 ? 1 : 0;
    }
    EXPECT_GT(lit, 2000u);  // there are glyphs
}

}  // namespace
}  // namespace velmora::engine

namespace velmora::engine {
namespace {

TEST(PackedResource, AnAbsurdInflatedSizeIsNotAllocated) {
    // A tiny stream that claims to inflate to nearly 4 GiB: read as what it
    // really holds, without asking for the claimed memory.
    const std::vector<std::uint8_t> record = {0x47, 1, 1, 0, 0, 0, 1, 0, 0, 0, 3,   0, 0, 0, 2, 0,
                                              0,    0, 1, 0, 0, 0, 2, 0, 0, 0, 'x', 0, 9, 8, 7};
    uLongf size = compressBound(static_cast<uLong>(record.size()));
    std::vector<std::uint8_t> packed = {8, 1, 1, 0xCC, 0xF0, 0xFF, 0xFF, 0xFF};
    std::vector<std::uint8_t> stream(size);
    compress(stream.data(), &size, record.data(), static_cast<uLong>(record.size()));
    packed.insert(packed.end(), stream.begin(), stream.begin() + size);
    Texture texture;
    EXPECT_EQ(texture.LoadPacked(packed.data(), packed.size()), S_OK);
    EXPECT_STREQ(texture.Name(), "x");
}

}  // namespace
}  // namespace velmora::engine
