// Where a reader puts the rows it decodes: the raster at full size, or, when
// the caller has said what size it will scale the picture to, the scale
// filter row by row, so that only the filter's window of rows and the scaled
// raster are ever held.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/pl_picture_reader.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"

namespace velmora::picture {

class PLRowTarget {
public:
    // hint may be null; without a scaled size in it the rows go to raster.
    PLRowTarget(PLRaster& raster, const PLDecodeHint* hint);
    PLRowTarget(const PLRowTarget&) = delete;
    PLRowTarget& operator=(const PLRowTarget&) = delete;

    // Sizes the target for the picture as stored, as PLRaster::Create would
    // (8 or 32 bits). Rows must then come in order: top row first, or bottom
    // row first when bottomUp.
    void Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel, bool alpha,
                bool bottomUp = false);
    bool Scaling() const { return scaled_.has_value(); }

    // Where the palette goes: the raster, or a one-row stand-in of the
    // picture's depth when scaling.
    PLRaster& Picture() { return Scaling() ? row_ : raster_; }
    void SetResolution(std::int32_t dpiX, std::int32_t dpiY) { raster_.SetResolution(dpiX, dpiY); }

    // Line y of the picture (0 = top) to write; the same buffer until
    // LineDone(y).
    std::uint8_t* Line(std::int32_t y) { return Scaling() ? row_.GetLine(0) : raster_.GetLine(y); }
    void LineDone(std::int32_t y);
    // After the reader's last row: rows it never wrote count as zero bytes
    // (palette index 0), as in a raster whose reader cleared it.
    void Finish();

private:
    PLRaster& raster_;
    const PLDecodeHint* hint_;
    PLMemoryRaster row_;
    std::vector<std::uint8_t> converted_;
    std::optional<PLScaledRows> scaled_;
    std::int32_t height_ = 0;
    std::int32_t done_ = 0;
};

}  // namespace velmora::picture
