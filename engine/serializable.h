// The engine's data-object protocol: one Serialize routine that reads or
// writes an object's record, and copying by writing and reading back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/status.h"

namespace velmora::engine {

enum class SerializeDirection : int {
    Read = 0,
    Write = 1,
};

class Serializable {
public:
    Serializable() = default;
    Serializable(const Serializable&) = delete;
    Serializable& operator=(const Serializable&) = delete;
    virtual ~Serializable() = default;

    // Makes this object a copy of other through other's record.
    virtual HRESULT CopyFrom(Serializable& other);

    // Read fills the object from buffer; Write stores it there. A non-null
    // byteCounter grows by the record's full size. bodyOnly leaves out the
    // record's own header fields. Asking with Write and no buffer only counts.
    virtual HRESULT Serialize(SerializeDirection direction, std::uint8_t* buffer,
                              std::size_t bufferLength, std::size_t* byteCounter, bool bodyOnly);

    // Unwraps a packed resource (8-byte wrapper, optionally a zlib stream)
    // and reads the record inside.
    HRESULT LoadPacked(const std::uint8_t* data, std::size_t size);

    // A packed resource of the program, by name (CHROME.TEX, PCUBE0.MSH, ...).
    HRESULT LoadFromResource(const char* name);

    // The record's full size (E_FAIL when the object cannot say).
    HRESULT RecordSize(std::size_t& size);
};

// Little-endian fields of a record, with the bounds of the buffer checked.
class RecordCursor {
public:
    RecordCursor(std::uint8_t* buffer, std::size_t length) : buffer_(buffer), length_(length) {}

    bool Has(std::size_t bytes) const { return bytes <= length_ - position_; }
    std::uint8_t* Here() const { return buffer_ + position_; }
    std::size_t Remaining() const { return length_ - position_; }
    void Advance(std::size_t bytes) { position_ += bytes; }

    // Each returns false, moving nothing, when the buffer is too short.
    bool ReadU8(std::uint8_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadFloat(float& value);
    bool ReadBytes(void* target, std::size_t bytes);
    bool WriteU8(std::uint8_t value);
    bool WriteU32(std::uint32_t value);
    bool WriteFloat(float value);
    bool WriteBytes(const void* source, std::size_t bytes);

private:
    std::uint8_t* buffer_;
    std::size_t length_;
    std::size_t position_ = 0;
};

}  // namespace velmora::engine
