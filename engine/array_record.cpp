#include "engine/array_record.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace velmora::engine {

bool ArrayRecord::Resize(std::size_t count) {
    if (count == 0) {
        Free();
        return true;
    }
    if (count > kMaximumBytes / elementSize_) {
        return false;
    }
    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[count * elementSize_]);
    if (!block) {
        return false;
    }
    if (data_ != nullptr) {
        std::memcpy(block.get(), data_.get(), std::min(count, count_) * elementSize_);
    }
    data_ = std::move(block);
    count_ = count;
    capacity_ = count;
    return true;
}

void ArrayRecord::SwapContents(ArrayRecord& other) {
    std::swap(data_, other.data_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
}

void ArrayRecord::Free() {
    data_.reset();
    count_ = 0;
    capacity_ = 0;
}

std::size_t ArrayRecord::RecordBytes() const {
    return kHeaderBytes + (capacity_ > 0 ? count_ * elementSize_ : 0);
}

HRESULT ArrayRecord::Serialize(SerializeDirection direction, std::uint8_t* buffer,
                               std::size_t bufferLength, std::size_t* byteCounter, bool) {
    if (direction == SerializeDirection::Write) {
        if (buffer != nullptr) {
            RecordCursor out(buffer, bufferLength);
            const std::size_t dataBytes = capacity_ > 0 ? count_ * elementSize_ : 0;
            if (!out.WriteU32(static_cast<std::uint32_t>(capacity_)) ||
                !out.WriteU32(static_cast<std::uint32_t>(elementSize_)) ||
                !out.WriteU32(static_cast<std::uint32_t>(capacity_ > 0 ? count_ : 0)) ||
                !out.WriteBytes(data_.get(), dataBytes)) {
                return E_FAIL;
            }
        }
        if (byteCounter != nullptr) {
            *byteCounter += RecordBytes();
        }
        return S_OK;
    }

    RecordCursor in(buffer, buffer != nullptr ? bufferLength : 0);
    std::uint32_t capacity = 0;
    std::uint32_t elementSize = 0;
    std::uint32_t count = 0;
    if (!in.ReadU32(capacity) || !in.ReadU32(elementSize) || !in.ReadU32(count)) {
        return E_FAIL;
    }
    if (capacity == 0) {
        if (count != 0) {
            return E_FAIL;
        }
        Free();
    } else {
        if (elementSize != elementSize_ || count > capacity ||
            capacity > kMaximumBytes / elementSize_ || !in.Has(std::size_t{count} * elementSize_)) {
            return E_FAIL;
        }
        if (count == 0) {
            Free();
        } else {
            // The claimed capacity is only spare room: allocating it would let
            // a few bytes of record claim any amount of memory.
            std::unique_ptr<std::uint8_t[]> block(
                new (std::nothrow) std::uint8_t[std::size_t{count} * elementSize_]);
            if (!block) {
                return E_OUTOFMEMORY;
            }
            in.ReadBytes(block.get(), std::size_t{count} * elementSize_);
            data_ = std::move(block);
            capacity_ = count;
            count_ = count;
        }
    }
    if (byteCounter != nullptr) {
        *byteCounter += RecordBytes();
    }
    return S_OK;
}

}  // namespace velmora::engine
