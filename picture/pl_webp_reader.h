// Reads WebP pictures (lossy, lossless, with alpha; the first frame of an
// animation), through libwebp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "picture/pl_jpeg_frame_size.h"
#include "picture/pl_picture_reader.h"

namespace velmora::picture {

// With a box hint the picture is decoded straight to the size the caller
// will show (libwebp scales while decoding); it is never enlarged.
class PLWebPReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

// The size of the picture a WebP file holds (of its first frame for an
// animation), read without decoding; nothing for data that is no WebP.
std::optional<PLFrameSize> ReadWebPFrameSize(const std::uint8_t* data, std::size_t size);

}  // namespace velmora::picture
