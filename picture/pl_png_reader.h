// Reads PNG pictures, through libpng.
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLPngReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
