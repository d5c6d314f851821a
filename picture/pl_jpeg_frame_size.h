// The picture size a JPEG file's frame header names, read without decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "lists/preview_geometry.h"

namespace velmora::lists {

// The width and height of the first frame header (SOF0 to SOF15) before the
// scan; nothing for data that is no JPEG, ends early, or leaves the height to
// a later marker.
std::optional<PictureSize> JpegFrameSize(const std::uint8_t* data, std::size_t size);

}  // namespace velmora::lists
