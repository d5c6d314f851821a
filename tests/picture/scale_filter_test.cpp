#include "picture/pl_scale_filter.h"

#include <gtest/gtest.h>

#include <numeric>

#include "picture/pl_raster.h"

namespace velmora::picture {
namespace {

TEST(ScaleFilter, WeightsSumTo256AndShrinkingUsesTapsWithinTheWidenedSupport) {
    const auto taps = PLScaleFilter::Contributions(100, 50);
    ASSERT_EQ(taps.size(), 50u);
    for (std::size_t i = 0; i < taps.size(); ++i) {
        const auto& c = taps[i];
        EXPECT_EQ(std::accumulate(c.weights.begin(), c.weights.end(), 0), 256);
        const double centre = (i + 0.5) / 0.5 - 0.5;
        for (std::size_t k = 0; k < c.weights.size(); ++k) {
            if (c.weights[k] != 0) {
                EXPECT_LT(std::abs(c.first + static_cast<double>(k) - centre), 1.28);
            }
        }
    }
}

}  // namespace
}  // namespace velmora::picture
