// Places a picture's rows, as a reader produces them top-down in stored
// order, into a raster already created at the size as seen, so the picture
// comes out turned and mirrored without a second full-size copy.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/pl_orientation.h"

namespace velmora::picture {

class PLRaster;

class PLOrientedRows {
public:
    // The raster must be 8 or 32 bits deep and already sized as seen: the
    // stored sides swapped for orientations that swap them.
    PLOrientedRows(PLRaster& raster, PLOrientation orientation);
    PLOrientedRows(const PLOrientedRows&) = delete;
    PLOrientedRows& operator=(const PLOrientedRows&) = delete;

    std::int32_t StoredWidth() const { return storedWidth_; }
    std::int32_t StoredHeight() const { return storedHeight_; }

    // Where stored row `row` is to be written; rows come in order, from 0.
    std::uint8_t* RowBuffer(std::int32_t row);
    // The row at RowBuffer(row) is complete.
    void RowDone(std::int32_t row);
    // Places the rows still held back; called once after the last row.
    void Finish();

private:
    void FlushBand();

    PLRaster& raster_;
    PLOrientation orientation_;
    std::int32_t storedWidth_;
    std::int32_t storedHeight_;
    std::size_t pixelBytes_;
    // Orientations that swap the sides turn rows into columns. Rows are
    // gathered in a band and written out one seen row at a time, so each
    // seen row gets a run of neighbouring pixels instead of one.
    std::vector<std::uint8_t> band_;
    std::int32_t bandFirst_ = 0;
    std::int32_t bandRows_ = 0;
};

}  // namespace velmora::picture
