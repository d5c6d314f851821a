// Smooth resizing of 32-bit rasters: a tent filter in two separable passes,
// with integer weights on a scale of 256, finer for strong reductions.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/pl_raster_filter.h"

namespace velmora::picture {

class PLScaleFilter : public PLRasterFilter {
public:
    PLScaleFilter(std::int32_t newWidth, std::int32_t newHeight)
        : newWidth_(newWidth), newHeight_(newHeight) {}

    // source must be 32 bits per pixel.
    void Apply(const PLRaster& source, PLRaster& destination) const override;

    // The taps of one output position along an axis: the first source index
    // and one weight per following source pixel.
    struct Contribution {
        std::int32_t first = 0;
        std::vector<std::int32_t> weights;
    };
    // Every output position of an axis. The weights of each position sum to
    // Scale(): 256 for enlargements and reductions down to 1:2, doubled for
    // every further halving, so that the tent keeps the weight steps it has
    // at 1:2 (on 256 alone every weight truncates to 0 beyond 1:164).
    struct AxisTaps {
        int shift = 0;
        std::vector<Contribution> positions;
        std::int64_t Scale() const { return std::int64_t{256} << shift; }
    };
    static AxisTaps Contributions(std::int32_t oldSize, std::int32_t newSize);

private:
    std::int32_t newWidth_;
    std::int32_t newHeight_;
};

class PLRaster;

// The scale filter fed one source row at a time, top row first or bottom row
// first, so a reader can scale as it decodes: only a window of horizontally
// scaled rows is held besides the destination. The bytes are those Apply
// makes of the whole picture (Apply runs through this too).
class PLScaledRows {
public:
    // destination must already have the new size at 32 bits.
    PLScaledRows(std::int32_t oldWidth, std::int32_t oldHeight, PLRaster& destination,
                 bool bottomUp = false);

    // The next source row, oldWidth pixels of B, G, R, A.
    void Push(const std::uint8_t* row);
    // The next source row, every pixel of it the one B, G, R, A pixel.
    void PushUniform(const std::uint8_t* pixel);
    // Every source row has been pushed.
    bool Complete() const { return pushed_ == oldHeight_; }

private:
    std::int32_t NextRow();
    void EmitReady(std::int32_t y);
    void ScaleRow(const std::uint8_t* in, std::uint8_t* out) const;
    void Emit(std::int32_t y);
    // The horizontally scaled source row y, which the window still holds.
    std::uint8_t* Held(std::int32_t y);
    std::int32_t FirstTap(std::int32_t y) const;
    std::int32_t LastTap(std::int32_t y) const;

    std::int32_t oldWidth_;
    std::int32_t oldHeight_;
    PLRaster& destination_;
    bool bottomUp_;
    bool sameWidth_;
    bool sameHeight_;
    PLScaleFilter::AxisTaps columns_;
    PLScaleFilter::AxisTaps rows_;
    std::size_t rowBytes_;
    std::size_t windowRows_ = 1;
    std::vector<std::uint8_t> window_;
    // Per window slot: the pixel it is filled with, when it is uniform.
    std::vector<std::optional<std::uint32_t>> heldPixel_;
    std::vector<std::int64_t> sums_;
    std::int32_t pushed_ = 0;
    std::int32_t emitted_ = 0;
};

}  // namespace velmora::picture
