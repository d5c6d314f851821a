// Growable arrays of the engine's records: a data block, a count and a
// capacity in elements, and a fixed element size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/serializable.h"

namespace velmora::engine {

class ArrayRecord : public Serializable {
public:
    static constexpr std::size_t kHeaderBytes = 12;

    std::size_t Count() const { return count_; }
    std::size_t Capacity() const { return capacity_; }
    std::size_t ElementSize() const { return elementSize_; }
    bool Empty() const { return count_ == 0; }

    // Makes room for count elements (contents undefined) and sets the count;
    // false when the memory cannot be had.
    bool Resize(std::size_t count);
    void Free();

    // Record: u32 capacity, u32 element size, u32 count, then the elements.
    // Reading refuses a record whose count exceeds its capacity, whose
    // element size is not this array's, or whose elements run past the buffer;
    // it allocates the count only, so the capacity read back equals the count.
    HRESULT Serialize(SerializeDirection direction, std::uint8_t* buffer, std::size_t bufferLength,
                      std::size_t* byteCounter, bool bodyOnly) override;

    std::size_t RecordBytes() const;

    // Largest block one array may hold; a record asking more is refused.
    static constexpr std::size_t kMaximumBytes = std::size_t{256} << 20;

protected:
    explicit ArrayRecord(std::size_t elementSize) : elementSize_(elementSize) {}
    std::uint8_t* RawData() const { return data_.get(); }
    // Exchanges contents with another array of the same element size.
    void SwapContents(ArrayRecord& other);

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t count_ = 0;
    std::size_t capacity_ = 0;
    std::size_t elementSize_;
};

template <typename Element>
class TypedArray : public ArrayRecord {
public:
    TypedArray() : ArrayRecord(sizeof(Element)) {}
    Element* Data() { return reinterpret_cast<Element*>(RawData()); }
    const Element* Data() const { return reinterpret_cast<const Element*>(RawData()); }
    Element& operator[](std::size_t i) { return Data()[i]; }
    const Element& operator[](std::size_t i) const { return Data()[i]; }
    void Swap(TypedArray& other) { SwapContents(other); }
};

using ByteArray = TypedArray<std::uint8_t>;
using FloatArray = TypedArray<float>;
using IndexArray = TypedArray<std::uint32_t>;

static_assert(sizeof(float) == 4 && sizeof(std::uint32_t) == 4, "4-byte elements");

}  // namespace velmora::engine
