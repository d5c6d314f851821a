// One drawable object: a primitive kind, per-vertex arrays, an index list,
// two texture slots and names, with the MSH record.
#pragma once

#include <cstdint>

#include "engine/array_record.h"
#include "engine/serializable.h"

namespace velmora::engine {

class Texture;

enum class PrimitiveKind : std::int32_t {
    None = 0,
    Points = 1,
    LineStrip = 2,
    LineLoop = 3,
    Lines = 4,
    TriangleStrip = 5,
    TriangleFan = 6,
    Triangles = 7,
    QuadStrip = 8,
    Quads = 9,
};

// Which vertex arrays a mesh carries.
namespace mesh_arrays {
inline constexpr std::uint32_t Positions = 1;
inline constexpr std::uint32_t Normals = 2;
inline constexpr std::uint32_t TexCoords = 4;
inline constexpr std::uint32_t SecondTexCoords = 8;
inline constexpr std::uint32_t Colours = 16;
}  // namespace mesh_arrays

// Indices that primitiveCount primitives of the kind need.
std::size_t IndicesForPrimitives(PrimitiveKind kind, std::size_t primitiveCount);

class Mesh : public Serializable {
public:
    static constexpr std::size_t kNameBytes = 16;
    static constexpr std::size_t kHeaderBytes = 96;

    Mesh() = default;

    HRESULT Serialize(SerializeDirection direction, std::uint8_t* buffer, std::size_t bufferLength,
                      std::size_t* byteCounter, bool bodyOnly) override;

    // A changed name clears the slot's resolved texture. Slot above 1: E_FAIL;
    // a negative slot changes nothing.
    HRESULT SetTextureName(const char* name, int slot);
    // The 16-byte field (not always terminated); null for other slots.
    const char* GetTextureName(int slot) const;
    HRESULT SetTexture(Texture* texture, int slot);
    Texture* GetTexture(int slot) const;

    HRESULT SetPrimitives(PrimitiveKind kind, std::size_t primitiveCount);
    HRESULT SetVertexCount(std::size_t vertexCount, bool withNormals, bool withTexCoords,
                           bool withColours, bool withSecondTexCoords);
    void SetVertex(std::size_t index, float u, float v, float x, float y, float z);
    void ClearArrays();

    void SetObjectName(const char* name);
    const char* ObjectName() const { return objectName_; }

    PrimitiveKind Kind() const { return kind_; }
    std::uint32_t Flags() const { return flags_; }
    void SetFlags(std::uint32_t flags) { flags_ = flags; }

    FloatArray& Positions() { return positions_; }
    FloatArray& Normals() { return normals_; }
    FloatArray& TexCoords() { return texCoords_; }
    FloatArray& SecondTexCoords() { return secondTexCoords_; }
    FloatArray& Colours() { return colours_; }
    IndexArray& Indices() { return indices_; }
    FloatArray& FaceNormals() { return faceNormals_; }
    const FloatArray& Positions() const { return positions_; }
    const FloatArray& Normals() const { return normals_; }
    const FloatArray& TexCoords() const { return texCoords_; }
    const FloatArray& Colours() const { return colours_; }
    const IndexArray& Indices() const { return indices_; }
    const FloatArray& FaceNormals() const { return faceNormals_; }

    float bounds[10] = {};  // minimum, maximum, reference point, size: carried only

private:
    ArrayRecord* Arrays(int i);
    bool WriteHeader(RecordCursor& cursor) const;
    bool ReadHeader(RecordCursor& cursor);
    HRESULT ReadRecord(std::uint8_t* buffer, std::size_t bufferLength, std::size_t* byteCounter,
                       bool bodyOnly);

    Texture* textures_[2] = {nullptr, nullptr};
    char textureNames_[2][kNameBytes] = {};
    char objectName_[kNameBytes + 1] = {};  // one extra NUL so it always ends
    PrimitiveKind kind_ = PrimitiveKind::None;
    std::uint32_t flags_ = 0;
    FloatArray positions_;
    FloatArray normals_;
    FloatArray texCoords_;
    FloatArray secondTexCoords_;
    FloatArray colours_;
    IndexArray indices_;
    FloatArray faceNormals_;
};

}  // namespace velmora::engine
