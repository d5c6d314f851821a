// A reader of last resort: the system's own decoders, for files that no
// built-in reader claims. Windows has one (the Windows Imaging Component);
// elsewhere there is none and such files are refused.
#pragma once

#include <string>

#include "picture/pl_object.h"
#include "picture/pl_picture_reader.h"

namespace velmora::picture {

class PLInput;
class PLRaster;

class PLFallbackReader : public PLObject {
public:
    // Decodes the first picture of the input into a 32-bit raster, turned as
    // its EXIF orientation says. path names the file the input maps, empty
    // for a buffer. Failures are thrown as PLTextException.
    virtual void Decode(PLInput& input, const std::string& path, PLRaster& raster,
                        const PLDecodeHint* hint) = 0;
};

// The platform's fallback (shared, stateless), or null where there is none.
PLFallbackReader* SystemFallbackReader();

}  // namespace velmora::picture
