// Reads JPEG pictures, through libjpeg.
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLJpegReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
