// Reads Photoshop PSD pictures (RLE-compressed).
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLPsdReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
