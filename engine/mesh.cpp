#include "engine/mesh.h"

#include <cstring>

namespace velmora::engine {

namespace {

// Copies up to kNameBytes characters, NUL-filling the rest of the field.
void CopyName(char* field, const char* name) {
    std::size_t i = 0;
    for (; i < Mesh::kNameBytes && name[i] != '\0'; ++i) {
        field[i] = name[i];
    }
    for (; i < Mesh::kNameBytes; ++i) {
        field[i] = '\0';
    }
}

}  // namespace

std::size_t IndicesForPrimitives(PrimitiveKind kind, std::size_t n) {
    switch (kind) {
        case PrimitiveKind::None:
            return 0;
        case PrimitiveKind::Points:
        case PrimitiveKind::LineLoop:
            return n;
        case PrimitiveKind::LineStrip:
            return 1 + n;
        case PrimitiveKind::Lines:
            return 2 * n;
        case PrimitiveKind::TriangleStrip:
        case PrimitiveKind::TriangleFan:
            return 2 + n;
        case PrimitiveKind::Triangles:
            return 3 * n;
        case PrimitiveKind::QuadStrip:
            return 2 + 2 * n;
        case PrimitiveKind::Quads:
            return 4 * n;
    }
    return 0;
}

ArrayRecord* Mesh::Arrays(int i) {
    ArrayRecord* arrays[7] = {&positions_, &normals_, &texCoords_,  &secondTexCoords_,
                              &colours_,   &indices_, &faceNormals_};
    return arrays[i];
}

HRESULT Mesh::Serialize(SerializeDirection direction, std::uint8_t* buffer,
                        std::size_t bufferLength, std::size_t* byteCounter, bool bodyOnly) {
    if (direction == SerializeDirection::Read) {
        return ReadRecord(buffer, bufferLength, byteCounter, bodyOnly);
    }
    if (buffer == nullptr) {
        if (byteCounter != nullptr) {
            *byteCounter += kHeaderBytes;
            for (int i = 0; i < 7; ++i) {
                *byteCounter += Arrays(i)->RecordBytes();
            }
        }
        return S_OK;
    }
    RecordCursor cursor(buffer, bufferLength);
    if (!bodyOnly && !WriteHeader(cursor)) {
        return E_FAIL;
    }
    std::size_t total = kHeaderBytes;
    for (int i = 0; i < 7; ++i) {
        std::size_t size = 0;
        const HRESULT result = Arrays(i)->Serialize(SerializeDirection::Write, cursor.Here(),
                                                    cursor.Remaining(), &size, false);
        if (FAILED(result)) {
            return result;
        }
        cursor.Advance(size);
        total += size;
    }
    if (byteCounter != nullptr) {
        *byteCounter += total;
    }
    return S_OK;
}

bool Mesh::WriteHeader(RecordCursor& cursor) const {
    if (!cursor.WriteU32(static_cast<std::uint32_t>(kind_)) || !cursor.WriteU32(flags_) ||
        !cursor.WriteBytes(textureNames_[0], kNameBytes) ||
        !cursor.WriteBytes(textureNames_[1], kNameBytes) ||
        !cursor.WriteBytes(objectName_, kNameBytes)) {
        return false;
    }
    for (float value : bounds) {
        if (!cursor.WriteFloat(value)) {
            return false;
        }
    }
    return true;
}

bool Mesh::ReadHeader(RecordCursor& cursor) {
    if (!cursor.Has(kHeaderBytes)) {
        return false;
    }
    std::uint32_t kind = 0;
    cursor.ReadU32(kind);
    cursor.ReadU32(flags_);
    kind_ = static_cast<PrimitiveKind>(kind);
    cursor.ReadBytes(textureNames_[0], kNameBytes);
    cursor.ReadBytes(textureNames_[1], kNameBytes);
    cursor.ReadBytes(objectName_, kNameBytes);
    objectName_[kNameBytes] = 0;
    for (float& value : bounds) {
        cursor.ReadFloat(value);
    }
    return true;
}

// Reads into a scratch mesh and takes its contents only when the whole
// record has read, so a failed read leaves this mesh unchanged.
HRESULT Mesh::ReadRecord(std::uint8_t* buffer, std::size_t bufferLength, std::size_t* byteCounter,
                         bool bodyOnly) {
    RecordCursor cursor(buffer, buffer != nullptr ? bufferLength : 0);
    Mesh staged;
    if (!bodyOnly && !staged.ReadHeader(cursor)) {
        return E_FAIL;
    }
    std::size_t total = kHeaderBytes;
    for (int i = 0; i < 7; ++i) {
        std::size_t size = 0;
        const HRESULT result = staged.Arrays(i)->Serialize(SerializeDirection::Read, cursor.Here(),
                                                           cursor.Remaining(), &size, false);
        if (FAILED(result)) {
            return result;
        }
        cursor.Advance(size);
        total += size;
    }
    if (!bodyOnly) {
        kind_ = staged.kind_;
        flags_ = staged.flags_;
        std::memcpy(textureNames_, staged.textureNames_, sizeof textureNames_);
        std::memcpy(objectName_, staged.objectName_, sizeof objectName_);
        std::memcpy(bounds, staged.bounds, sizeof bounds);
    }
    positions_.Swap(staged.positions_);
    normals_.Swap(staged.normals_);
    texCoords_.Swap(staged.texCoords_);
    secondTexCoords_.Swap(staged.secondTexCoords_);
    colours_.Swap(staged.colours_);
    indices_.Swap(staged.indices_);
    faceNormals_.Swap(staged.faceNormals_);
    if (byteCounter != nullptr) {
        *byteCounter += total;
    }
    return S_OK;
}

HRESULT Mesh::SetTextureName(const char* name, int slot) {
    if (name == nullptr) {
        return E_POINTER;
    }
    if (slot > 1) {
        return E_FAIL;
    }
    if (slot < 0) {
        return S_OK;
    }
    char field[kNameBytes] = {};
    CopyName(field, name);
    if (std::memcmp(field, textureNames_[slot], kNameBytes) != 0) {
        textures_[slot] = nullptr;
    }
    std::memcpy(textureNames_[slot], field, kNameBytes);
    return S_OK;
}

const char* Mesh::GetTextureName(int slot) const {
    return slot == 0 || slot == 1 ? textureNames_[slot] : nullptr;
}

HRESULT Mesh::SetTexture(Texture* texture, int slot) {
    if (texture == nullptr) {
        return E_POINTER;
    }
    if (slot > 1) {
        return E_FAIL;
    }
    if (slot >= 0) {
        textures_[slot] = texture;
    }
    return S_OK;
}

Texture* Mesh::GetTexture(int slot) const {
    return slot == 0 || slot == 1 ? textures_[slot] : nullptr;
}

HRESULT Mesh::SetPrimitives(PrimitiveKind kind, std::size_t primitiveCount) {
    const std::size_t indices = IndicesForPrimitives(kind, primitiveCount);
    if (indices == 0) {
        indices_.Free();
        faceNormals_.Free();
    } else if (!indices_.Resize(indices) || !faceNormals_.Resize(3 * indices)) {
        return E_OUTOFMEMORY;
    }
    kind_ = kind;
    return S_OK;
}

HRESULT Mesh::SetVertexCount(std::size_t vertexCount, bool withNormals, bool withTexCoords,
                             bool withColours, bool withSecondTexCoords) {
    flags_ = mesh_arrays::Positions;
    if (!positions_.Resize(3 * vertexCount)) {
        return E_OUTOFMEMORY;
    }
    struct Wanted {
        bool wanted;
        FloatArray& array;
        std::size_t perVertex;
        std::uint32_t flag;
    };
    for (const Wanted& w :
         {Wanted{withNormals, normals_, 3, mesh_arrays::Normals},
          Wanted{withTexCoords, texCoords_, 2, mesh_arrays::TexCoords},
          Wanted{withColours, colours_, 3, mesh_arrays::Colours},
          Wanted{withSecondTexCoords, secondTexCoords_, 2, mesh_arrays::SecondTexCoords}}) {
        if (!w.wanted) {
            continue;
        }
        if (!w.array.Resize(w.perVertex * vertexCount)) {
            return E_OUTOFMEMORY;
        }
        flags_ |= w.flag;
    }
    return S_OK;
}

void Mesh::SetVertex(std::size_t index, float u, float v, float x, float y, float z) {
    if (3 * index + 2 < positions_.Count()) {
        positions_[3 * index] = x;
        positions_[3 * index + 1] = y;
        positions_[3 * index + 2] = z;
    }
    if (2 * index + 1 < texCoords_.Count()) {
        texCoords_[2 * index] = u;
        texCoords_[2 * index + 1] = v;
    }
}

void Mesh::ClearArrays() {
    for (int i = 0; i < 7; ++i) {
        Arrays(i)->Free();
    }
    kind_ = PrimitiveKind::None;
    flags_ = 0;
    textures_[0] = nullptr;
    std::memset(textureNames_, 0, sizeof textureNames_);
}

void Mesh::SetObjectName(const char* name) {
    // The name may be this mesh's own: copy it before clearing the field.
    char field[kNameBytes] = {};
    if (name != nullptr) {
        CopyName(field, name);
    }
    std::memcpy(objectName_, field, kNameBytes);
    objectName_[kNameBytes] = 0;
}

}  // namespace velmora::engine
