// What every format reader offers the decoder: read the picture at the
// input's current position into a raster.
#pragma once

#include <cstdint>
#include <functional>

#include "picture/pl_object.h"

namespace velmora::picture {

class PLInput;
class PLRaster;

struct PLSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// What the caller will make of the picture: a box it will fit the picture
// into (keeping the aspect ratio) or stretch it over. Readers that can decode
// smaller at no loss to that use (JPEG) do so.
struct PLDecodeHint {
    PLDecodeHint() = default;
    PLDecodeHint(std::int32_t width, std::int32_t height, bool fit)
        : boxWidth(width), boxHeight(height), fitKeepingAspect(fit) {}

    std::int32_t boxWidth = 0;
    std::int32_t boxHeight = 0;
    bool fitKeepingAspect = true;
    // The size the caller will scale the picture to, told the picture's size
    // once the reader knows it. When given, readers that decode row by row
    // scale each row as it comes and hand back a 32-bit raster of that size,
    // holding no full-size picture; readers that cannot (JPEG, interlaced
    // PNG) do not call it and hand back the picture as before.
    std::function<PLSize(PLSize picture)> scaledSize;
};

class PLPictureReader : public PLObject {
public:
    // Creates the raster at the depth the reader produces for the file (8 bits
    // for palette and grey pictures, 32 otherwise) and fills it. Failures are
    // thrown as PLTextException.
    virtual void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) = 0;
};

}  // namespace velmora::picture
