// Smooth resizing of 32-bit rasters: a tent filter in two separable passes,
// with integer weights on a scale of 256.
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
    // and one weight per following source pixel; the weights sum to 256.
    struct Contribution {
        std::int32_t first = 0;
        std::vector<std::int32_t> weights;
    };
    static std::vector<Contribution> Contributions(std::int32_t oldSize, std::int32_t newSize);

private:
    std::int32_t newWidth_;
    std::int32_t newHeight_;
};

}  // namespace velmora::picture
