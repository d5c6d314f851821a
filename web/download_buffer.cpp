#include "web/download_buffer.h"

#include <cstring>
#include <new>

namespace velmora::web {

bool DownloadBuffer::Reserve(std::uint32_t capacity) {
    std::unique_ptr<char[]> block(new (std::nothrow) char[std::size_t{capacity} + 1]);
    if (!block) {
        return false;
    }
    if (received_ > 0) {
        std::memcpy(block.get(), data_.get(), received_);
    }
    block[received_] = '\0';
    data_ = std::move(block);
    capacity_ = capacity;
    return true;
}

bool DownloadBuffer::Allocate(std::optional<std::uint32_t> contentLength) {
    Free();
    const std::uint32_t capacity = contentLength.value_or(kDownloadStep);
    return capacity <= kMaxDownloadSize && Reserve(capacity);
}

bool DownloadBuffer::Append(const void* piece, std::uint32_t length) {
    if (!data_) {
        return false;
    }
    if (std::uint64_t{received_} + length > capacity_) {
        const std::uint64_t grown = std::uint64_t{received_} + length + kDownloadStep;
        if (std::uint64_t{received_} + length > kMaxDownloadSize ||
            !Reserve(static_cast<std::uint32_t>(grown))) {
            return false;
        }
    }
    if (length > 0) {
        std::memcpy(data_.get() + received_, piece, length);
    }
    received_ += length;
    data_[received_] = '\0';
    return true;
}

void DownloadBuffer::Free() {
    data_.reset();
    received_ = 0;
    capacity_ = 0;
}

std::string_view DownloadBuffer::Text() const {
    return data_ ? std::string_view(data_.get(), received_) : std::string_view();
}

}  // namespace velmora::web
