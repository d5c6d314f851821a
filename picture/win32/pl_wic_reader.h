// The Windows Imaging Component as the reader of last resort: HEIC, AVIF,
// JPEG XR, TIFF, GIF, ICO and whatever codecs the user has installed.
#pragma once

#include <optional>
#include <string>

#include "picture/pl_fallback_reader.h"
#include "picture/pl_jpeg_frame_size.h"

namespace velmora::picture {

// Decodes the first frame, scaled by WIC to the hint's box, converted to
// 32-bit B, G, R, A and turned as its EXIF orientation says. COM is set up
// for the calling thread for the length of each call (a thread that already
// has an apartment keeps it).
class PLWicReader : public PLFallbackReader {
public:
    void Decode(PLInput& input, const std::string& path, PLRaster& raster,
                const PLDecodeHint* hint) override;
};

// The size of a file's first frame as seen (after its orientation), or
// nothing when WIC cannot read it.
std::optional<PLFrameSize> ReadWicFrameSize(const std::string& path);

}  // namespace velmora::picture
