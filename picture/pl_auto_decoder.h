// Recognises a picture by content and decodes it with the matching reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "picture/pl_fallback_reader.h"
#include "picture/pl_object.h"
#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLInput;
class PLRaster;

class PLAutoDecoder : public PLObject {
public:
    // Files no built-in reader claims go to the platform's fallback reader.
    PLAutoDecoder() : fallback_(SystemFallbackReader()) {}
    // ... or to this one (null: refused).
    explicit PLAutoDecoder(PLFallbackReader* fallback) : fallback_(fallback) {}

    // Decodes the file into the raster and converts it to bitsPerPixel (0:
    // the reader's own depth). The hint lets a reader decode smaller when the
    // caller will shrink the picture anyway.
    void DecodeFileToRaster(const std::string& path, PLRaster& raster, int bitsPerPixel,
                            const PLDecodeHint* hint = nullptr);
    void DecodeMemoryToRaster(const std::uint8_t* data, std::size_t size, PLRaster& raster,
                              int bitsPerPixel, const PLDecodeHint* hint = nullptr);

    // The shared part: recognise, dispatch, convert to the requested depth.
    void DecodeInputToRaster(PLInput& input, PLRaster& raster, int bitsPerPixel,
                             const PLDecodeHint* hint);

private:
    // path: the file the input maps, empty for a buffer.
    void Decode(PLInput& input, const std::string& path, PLRaster& raster, int bitsPerPixel,
                const PLDecodeHint* hint);

    PLFallbackReader* fallback_;
};

}  // namespace velmora::picture
