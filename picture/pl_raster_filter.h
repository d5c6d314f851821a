// An operation that makes a new raster from an existing one.
#pragma once

#include "picture/pl_object.h"

namespace velmora::picture {

class PLRaster;

class PLRasterFilter : public PLObject {
public:
    // Fills destination (which it creates) from source.
    virtual void Apply(const PLRaster& source, PLRaster& destination) const = 0;
};

}  // namespace velmora::picture
