#include "picture/pl_oriented_rows.h"

#include <cstring>

#include "picture/pl_raster.h"

namespace velmora::picture {

namespace {

constexpr std::int32_t kBandRows = 16;

template <std::size_t PixelBytes>
void MirrorRow(std::uint8_t* row, std::int32_t width) {
    if (width < 2) {
        return;
    }
    std::uint8_t* left = row;
    std::uint8_t* right = row + static_cast<std::size_t>(width - 1) * PixelBytes;
    for (; left < right; left += PixelBytes, right -= PixelBytes) {
        std::uint8_t held[PixelBytes];
        std::memcpy(held, left, PixelBytes);
        std::memcpy(left, right, PixelBytes);
        std::memcpy(right, held, PixelBytes);
    }
}

// Band row i goes to seen column firstColumn + i (or - i when the columns
// descend); its pixel c to seen row c (or storedWidth - 1 - c).
template <std::size_t PixelBytes>
void TransposeBand(const std::uint8_t* band, std::int32_t rows, std::int32_t storedWidth,
                   std::int32_t firstColumn, bool columnsDescend, bool rowsFromBottom,
                   PLRaster& raster) {
    const std::size_t bandStride = static_cast<std::size_t>(storedWidth) * PixelBytes;
    const std::int32_t direction = columnsDescend ? -1 : 1;
    for (std::int32_t c = 0; c < storedWidth; ++c) {
        std::uint8_t* line = raster.GetLine(rowsFromBottom ? storedWidth - 1 - c : c);
        const std::uint8_t* in = band + static_cast<std::size_t>(c) * PixelBytes;
        for (std::int32_t i = 0; i < rows; ++i) {
            const auto column = static_cast<std::size_t>(firstColumn + direction * i);
            std::memcpy(line + column * PixelBytes, in + i * bandStride, PixelBytes);
        }
    }
}

}  // namespace

PLOrientedRows::PLOrientedRows(PLRaster& raster, PLOrientation orientation)
    : raster_(raster),
      orientation_(orientation),
      storedWidth_(SwapsSides(orientation) ? raster.GetHeight() : raster.GetWidth()),
      storedHeight_(SwapsSides(orientation) ? raster.GetWidth() : raster.GetHeight()),
      pixelBytes_(raster.GetBitsPerPixel() / 8) {
    if (SwapsSides(orientation)) {
        band_.resize(static_cast<std::size_t>(kBandRows) * storedWidth_ * pixelBytes_);
    }
}

std::uint8_t* PLOrientedRows::RowBuffer(std::int32_t row) {
    switch (orientation_) {
        case PLOrientation::Rotate180:
        case PLOrientation::MirrorTopBottom:
            return raster_.GetLine(storedHeight_ - 1 - row);
        case PLOrientation::Upright:
        case PLOrientation::MirrorLeftRight:
            return raster_.GetLine(row);
        default:
            if (bandRows_ == 0) {
                bandFirst_ = row;
            }
            return band_.data() +
                   static_cast<std::size_t>(row - bandFirst_) * storedWidth_ * pixelBytes_;
    }
}

void PLOrientedRows::RowDone(std::int32_t row) {
    switch (orientation_) {
        case PLOrientation::Upright:
        case PLOrientation::MirrorTopBottom:
            return;
        case PLOrientation::MirrorLeftRight:
        case PLOrientation::Rotate180: {
            std::uint8_t* line = RowBuffer(row);
            if (pixelBytes_ == 4) {
                MirrorRow<4>(line, storedWidth_);
            } else {
                MirrorRow<1>(line, storedWidth_);
            }
            return;
        }
        default:
            if (++bandRows_ == kBandRows) {
                FlushBand();
            }
    }
}

void PLOrientedRows::Finish() {
    if (bandRows_ > 0) {
        FlushBand();
    }
}

// Stored row r becomes seen column r (Transpose, RotateAnticlockwise) or
// height - 1 - r (RotateClockwise, Transverse); stored column c becomes
// seen row c (Transpose, RotateClockwise) or width - 1 - c (the others).
void PLOrientedRows::FlushBand() {
    const bool columnsDescend =
        orientation_ == PLOrientation::RotateClockwise || orientation_ == PLOrientation::Transverse;
    const bool rowsFromBottom = orientation_ == PLOrientation::Transverse ||
                                orientation_ == PLOrientation::RotateAnticlockwise;
    const std::int32_t firstColumn = columnsDescend ? storedHeight_ - 1 - bandFirst_ : bandFirst_;
    if (pixelBytes_ == 4) {
        TransposeBand<4>(band_.data(), bandRows_, storedWidth_, firstColumn, columnsDescend,
                         rowsFromBottom, raster_);
    } else {
        TransposeBand<1>(band_.data(), bandRows_, storedWidth_, firstColumn, columnsDescend,
                         rowsFromBottom, raster_);
    }
    bandRows_ = 0;
}

}  // namespace velmora::picture
