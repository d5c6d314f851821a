// What every format reader offers the decoder: read the picture at the
// input's current position into a raster.
#pragma once

#include <cstdint>

#include "picture/pl_object.h"

namespace velmora::picture {

class PLInput;
class PLRaster;

// What the caller will make of the picture: a box it will fit the picture
// into (keeping the aspect ratio) or stretch it over. Readers that can decode
// smaller at no loss to that use (JPEG) do so; the others ignore it.
struct PLDecodeHint {
    std::int32_t boxWidth = 0;
    std::int32_t boxHeight = 0;
    bool fitKeepingAspect = true;
};

class PLPictureReader : public PLObject {
public:
    // Creates the raster at the depth the reader produces for the file (8 bits
    // for palette and grey pictures, 32 otherwise) and fills it. Failures are
    // thrown as PLTextException.
    virtual void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) = 0;
};

}  // namespace velmora::picture
