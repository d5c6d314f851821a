#include "engine/serializable.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "engine/packed_resources.h"

namespace velmora::engine {

HRESULT Serializable::Serialize(SerializeDirection, std::uint8_t*, std::size_t, std::size_t*,
                                bool) {
    return E_NOTIMPL;
}

HRESULT Serializable::RecordSize(std::size_t& size) {
    size = 0;
    const HRESULT result = Serialize(SerializeDirection::Write, nullptr, 0, &size, true);
    return FAILED(result) ? result : S_OK;
}

HRESULT Serializable::CopyFrom(Serializable& other) {
    std::size_t size = 0;
    if (FAILED(other.RecordSize(size))) {
        return E_FAIL;
    }
    std::unique_ptr<std::uint8_t[]> scratch(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (!scratch) {
        return E_OUTOFMEMORY;
    }
    if (FAILED(other.Serialize(SerializeDirection::Write, scratch.get(), size, nullptr, false))) {
        return E_FAIL;
    }
    return Serialize(SerializeDirection::Read, scratch.get(), size, nullptr, false);
}

HRESULT Serializable::LoadPacked(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) {
        return E_POINTER;
    }
    if (size < 8) {
        return E_FAIL;
    }
    const std::size_t headerLength = data[0];
    if (headerLength > size) {
        return E_FAIL;
    }
    const std::uint8_t* payload = data + headerLength;
    const std::size_t payloadLength = size - headerLength;
    if (data[2] == 0) {
        // Serialize never writes through the buffer when reading.
        return Serialize(SerializeDirection::Read, const_cast<std::uint8_t*>(payload),
                         payloadLength, nullptr, false);
    }
    const std::uint32_t inflatedSize =
        static_cast<std::uint32_t>(data[4]) | (static_cast<std::uint32_t>(data[5]) << 8) |
        (static_cast<std::uint32_t>(data[6]) << 16) | (static_cast<std::uint32_t>(data[7]) << 24);
    if (payloadLength > std::numeric_limits<uLong>::max()) {
        return E_FAIL;
    }
    // Deflate cannot expand data more than about 1,032 times, so a larger
    // claimed size would only waste memory: never allocate beyond that.
    const std::uint64_t mostPossible = std::uint64_t{payloadLength} * 1032 + 1024;
    const auto allocated =
        static_cast<std::size_t>(std::min<std::uint64_t>(inflatedSize, mostPossible));
    std::unique_ptr<std::uint8_t[]> inflated(new (std::nothrow)
                                                 std::uint8_t[allocated == 0 ? 1 : allocated]);
    if (!inflated) {
        return E_OUTOFMEMORY;
    }
    uLongf inflatedLength = static_cast<uLongf>(allocated);
    const int zresult =
        uncompress(inflated.get(), &inflatedLength, payload, static_cast<uLong>(payloadLength));
    switch (zresult) {
        case Z_OK:
            break;
        case Z_MEM_ERROR:
            return E_OUTOFMEMORY;
        case Z_BUF_ERROR:
        case Z_DATA_ERROR:
            return E_INVALIDARG;
        default:
            return E_FAIL;
    }
    return Serialize(SerializeDirection::Read, inflated.get(), inflatedLength, nullptr, false);
}

HRESULT Serializable::LoadFromResource(const char* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!FindPackedResource(name, data, size)) {
        return E_FAIL;
    }
    return LoadPacked(data, size);
}

bool RecordCursor::ReadU8(std::uint8_t& value) {
    return ReadBytes(&value, 1);
}

bool RecordCursor::ReadU32(std::uint32_t& value) {
    std::uint8_t b[4];
    if (!ReadBytes(b, 4)) {
        return false;
    }
    value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

bool RecordCursor::ReadFloat(float& value) {
    std::uint32_t bits = 0;
    if (!ReadU32(bits)) {
        return false;
    }
    std::memcpy(&value, &bits, 4);
    return true;
}

bool RecordCursor::ReadBytes(void* target, std::size_t bytes) {
    if (!Has(bytes)) {
        return false;
    }
    if (bytes > 0) {
        std::memcpy(target, Here(), bytes);
    }
    Advance(bytes);
    return true;
}

bool RecordCursor::WriteU8(std::uint8_t value) {
    return WriteBytes(&value, 1);
}

bool RecordCursor::WriteU32(std::uint32_t value) {
    const std::uint8_t b[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return WriteBytes(b, 4);
}

bool RecordCursor::WriteFloat(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return WriteU32(bits);
}

bool RecordCursor::WriteBytes(const void* source, std::size_t bytes) {
    if (buffer_ == nullptr || !Has(bytes)) {
        return false;
    }
    if (bytes > 0) {
        std::memcpy(Here(), source, bytes);
    }
    Advance(bytes);
    return true;
}

}  // namespace velmora::engine
