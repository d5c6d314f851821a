// Reads Truevision TGA pictures.
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLTargaReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
