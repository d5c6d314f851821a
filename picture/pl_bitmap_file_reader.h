// Reads Windows and OS/2 bitmaps (BMP).
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLBitmapFileReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
