// Small hostile records: what they make the readers allocate, and what a
// failed read leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/mesh.h"
#include "engine/texture.h"

namespace velmora::engine {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

std::uint32_t U32At(const Bytes& b, std::size_t offset) {
    return b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) |
           (static_cast<std::uint32_t>(b[offset + 3]) << 24);
}

void PutArray(Bytes& b, std::uint32_t capacity, std::uint32_t elementSize, std::uint32_t count) {
    PutU32(b, capacity);
    PutU32(b, elementSize);
    PutU32(b, count);
    b.insert(b.end(), std::size_t{count} * elementSize, 0);
}

// A 2 × 2 RGB texture named "a": 40 bytes whatever capacity the name claims.
Bytes TexRecord(std::uint32_t nameCapacity) {
    Bytes b = {0x47, 1};
    PutU32(b, 2);
    PutU32(b, 2);
    PutU32(b, 3);
    PutU32(b, nameCapacity);
    PutU32(b, 1);
    PutU32(b, 2);
    b.push_back('a');
    b.push_back(0);
    b.insert(b.end(), 12, 0x5A);
    return b;
}

// The 96-byte header, then seven arrays of the given capacity and count.
Bytes MshRecord(std::uint32_t capacity, std::uint32_t count, const char* objectName,
                std::uint32_t kind = 7) {
    Bytes b;
    PutU32(b, kind);
    PutU32(b, 15);
    b.insert(b.end(), 32, 0);
    b.insert(b.end(), objectName, objectName + std::strlen(objectName));
    b.resize(96, 0);
    for (int i = 0; i < 7; ++i) {
        PutArray(b, capacity, 4, count);
    }
    return b;
}

std::vector<const ArrayRecord*> AllArrays(Mesh& mesh) {
    return {&mesh.Positions(), &mesh.Normals(), &mesh.TexCoords(),  &mesh.SecondTexCoords(),
            &mesh.Colours(),   &mesh.Indices(), &mesh.FaceNormals()};
}

Bytes Unpacked(const Bytes& record) {
    Bytes packed(8 + record.size());
    const std::uint8_t wrapper[8] = {8, 1, 0, 0xCC, 0, 0, 0, 0};
    std::memcpy(packed.data(), wrapper, 8);
    std::memcpy(packed.data() + 8, record.data(), record.size());
    return packed;
}

TEST(RecordLimits, ATexRecordGetsNoMoreNameStorageThanItsCount) {
    for (std::uint32_t capacity : {2u, 0x00FFFFFFu, 0x0FFFFFFFu}) {
        SCOPED_TRACE(capacity);
        const Bytes record = TexRecord(capacity);
        ASSERT_EQ(record.size(), 40u);
        const Bytes packed = Unpacked(record);
        Texture texture;
        ASSERT_EQ(texture.LoadPacked(packed.data(), packed.size()), S_OK);
        EXPECT_STREQ(texture.Name(), "a");
        Bytes written(record.size());
        ASSERT_EQ(texture.Serialize(SerializeDirection::Write, written.data(), written.size(),
                                    nullptr, false),
                  S_OK);
        EXPECT_EQ(U32At(written, 14), 2u);  // the name's capacity: what was allocated
    }
}

TEST(RecordLimits, AnMshRecordGetsNoMoreArrayStorageThanItsCounts) {
    struct Case {
        std::uint32_t capacity;
        std::uint32_t count;
        std::size_t recordBytes;
    };
    for (const Case& c : {Case{0x03FFFFFF, 0, 180}, Case{0x03FFFFFF, 1, 208}}) {
        SCOPED_TRACE(c.count);
        const Bytes record = MshRecord(c.capacity, c.count, "Hostile");
        ASSERT_EQ(record.size(), c.recordBytes);
        const Bytes packed = Unpacked(record);
        Mesh mesh;
        ASSERT_EQ(mesh.LoadPacked(packed.data(), packed.size()), S_OK);
        for (const ArrayRecord* array : AllArrays(mesh)) {
            EXPECT_EQ(array->Capacity(), c.count);
        }
        std::size_t size = 0;
        ASSERT_EQ(mesh.RecordSize(size), S_OK);
        EXPECT_EQ(size, c.recordBytes);
    }
}

TEST(RecordLimits, AFailedMeshReadLeavesTheMeshUnchanged) {
    // Records of another mesh, damaged at different depths: each array
    // record is 12 + 5 × 4 bytes after the 96-byte header.
    const Bytes other = MshRecord(5, 5, "New", 9);
    const Bytes shortHeader(other.begin(), other.begin() + 95);
    const Bytes cutInLastArray(other.begin(), other.end() - 1);
    Bytes wrongElementSize = other;
    wrongElementSize[96 + 2 * 32 + 4] = 1;  // third array claims 1-byte elements
    Bytes countAboveCapacity = other;
    countAboveCapacity[96 + 5 * 32] = 2;  // indices: capacity 2, count 5
    for (const Bytes& damaged :
         {shortHeader, cutInLastArray, wrongElementSize, countAboveCapacity}) {
        SCOPED_TRACE(damaged.size());
        const Bytes packed = Unpacked(MshRecord(3, 3, "Kept"));
        Mesh mesh;
        ASSERT_EQ(mesh.LoadPacked(packed.data(), packed.size()), S_OK);
        mesh.Positions()[0] = 1.5f;
        const Bytes bad = Unpacked(damaged);
        EXPECT_EQ(mesh.LoadPacked(bad.data(), bad.size()), E_FAIL);
        EXPECT_STREQ(mesh.ObjectName(), "Kept");
        EXPECT_EQ(mesh.Kind(), PrimitiveKind::Triangles);
        for (const ArrayRecord* array : AllArrays(mesh)) {
            EXPECT_EQ(array->Count(), 3u);
        }
        EXPECT_EQ(mesh.Positions()[0], 1.5f);
    }
}

TEST(RecordLimits, AFailedTexReadAfterTheMagicLeavesTheTextureEmpty) {
    const Bytes good = TexRecord(2);
    Bytes cutPixels(good.begin(), good.end() - 1);
    Bytes cutName(good.begin(), good.begin() + 27);
    Bytes badBytesPerPixel = good;
    badBytesPerPixel[10] = 5;
    for (const Bytes& damaged : {cutPixels, cutName, badBytesPerPixel}) {
        SCOPED_TRACE(damaged.size());
        Texture texture;
        std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[3]{1, 2, 3});
        texture.SetPixels(1, 1, 3, std::move(pixels));
        texture.SetName("previous.bmp");
        texture.SetGlName(7);
        texture.SetDirty(false);
        const Bytes bad = Unpacked(damaged);
        EXPECT_EQ(texture.LoadPacked(bad.data(), bad.size()), E_FAIL);
        EXPECT_EQ(texture.Pixels(), nullptr);
        EXPECT_EQ(texture.Width(), 0);
        EXPECT_EQ(texture.BytesPerPixel(), 0);
        EXPECT_EQ(texture.GlName(), 0u);
        EXPECT_TRUE(texture.IsDirty());
        EXPECT_STREQ(texture.Name(), "");
    }
}

TEST(RecordLimits, ATextureWithoutAreaIsNotResampled) {
    const Bytes packed = Unpacked([] {
        Bytes b = {0x47, 1};
        PutU32(b, 0);
        PutU32(b, 0);
        PutU32(b, 3);
        PutArray(b, 1, 1, 1);
        return b;
    }());
    Texture texture;
    ASSERT_EQ(texture.LoadPacked(packed.data(), packed.size()), S_OK);
    EXPECT_EQ(texture.Resize(4, 4, true, false), E_FAIL);
}

TEST(OwnNames, SettingANameFromItselfKeepsIt) {
    const char* name = "a name long enough to leave the small-string buffer.bmp";
    Texture texture;
    texture.SetName(name);
    texture.SetName(texture.Name());
    EXPECT_STREQ(texture.Name(), name);

    Mesh mesh;
    mesh.SetObjectName("ChamferBox01");
    mesh.SetObjectName(mesh.ObjectName());
    EXPECT_STREQ(mesh.ObjectName(), "ChamferBox01");
}

}  // namespace
}  // namespace velmora::engine
