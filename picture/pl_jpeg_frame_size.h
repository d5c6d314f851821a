// The picture size a JPEG file's frame header names, read without decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace velmora::picture {

struct PLFrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PLFrameSize&, const PLFrameSize&) = default;
};

// The width and height of the first frame header (SOF0 to SOF15) before the
// scan; nothing for data that is no JPEG, ends early, or leaves the height to
// a later marker.
std::optional<PLFrameSize> ReadJpegFrameSize(const std::uint8_t* data, std::size_t size);

}  // namespace velmora::picture
