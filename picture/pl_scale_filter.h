// Smooth resizing of 32-bit rasters: a tent filter in two separable passes,
// with integer weights on a scale of 256, finer for strong reductions.
#pragma once

#include <cstdint>
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

}  // namespace velmora::picture
