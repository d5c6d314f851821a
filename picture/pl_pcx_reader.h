// Reads ZSoft PCX pictures.
#pragma once

#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLPcxReader : public PLPictureReader {
public:
    void Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) override;
};

}  // namespace velmora::picture
