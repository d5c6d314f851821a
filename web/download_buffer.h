// The bytes of one download, always followed by a zero byte. It starts at the
// announced content length (or 4096 bytes without one) and grows by what
// arrives plus 4096 bytes when a piece does not fit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace velmora::web {

// A download never grows beyond this: an update document is a few hundred
// bytes, and a larger answer is not one.
inline constexpr std::uint32_t kMaxDownloadSize = 1024 * 1024;
inline constexpr std::uint32_t kDownloadStep = 4096;

class DownloadBuffer {
public:
    // False when the first block cannot be had: the announced length is over
    // the limit or the memory is not there.
    bool Allocate(std::optional<std::uint32_t> contentLength);
    // False, keeping what was received, when the data would pass the limit or
    // a larger block cannot be had.
    bool Append(const void* piece, std::uint32_t length);
    void Free();

    std::uint32_t Received() const { return received_; }
    std::uint32_t Capacity() const { return capacity_; }
    // The received bytes; data()[size()] is zero.
    std::string_view Text() const;

private:
    bool Reserve(std::uint32_t capacity);

    std::unique_ptr<char[]> data_;
    std::uint32_t received_ = 0;
    std::uint32_t capacity_ = 0;
};

}  // namespace velmora::web
