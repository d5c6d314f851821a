// The scale filter: tent weights, plain copies and uniform pictures kept uniform.
#include "picture/pl_scale_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {
namespace {

TEST(ScaleFilter, WeightsSumTo256AndShrinkingUsesTapsWithinTheWidenedSupport) {
    const auto taps = PLScaleFilter::Contributions(100, 50);
    ASSERT_EQ(taps.Scale(), 256);
    ASSERT_EQ(taps.positions.size(), 50u);
    for (std::size_t i = 0; i < taps.positions.size(); ++i) {
        const auto& c = taps.positions[i];
        EXPECT_EQ(std::accumulate(c.weights.begin(), c.weights.end(), 0), 256);
        const double centre = (i + 0.5) / 0.5 - 0.5;
        for (std::size_t k = 0; k < c.weights.size(); ++k) {
            if (c.weights[k] != 0) {
                EXPECT_LT(std::abs(c.first + static_cast<double>(k) - centre), 1.28);
            }
        }
    }
}

// Tent weights truncated on the axis's scale and renormalised to it, worked
// out by hand from the formula: an enlargement, a reduction within 1:2 on
// 256, and one of 1:4.5 on 256 << 2.
TEST(ScaleFilter, WeightsFollowTheTentFormula) {
    struct Case {
        int oldSize;
        int newSize;
        std::int64_t scale;
        std::vector<PLScaleFilter::Contribution> positions;
    };
    const Case cases[] = {
        {3,
         5,
         256,
         {{0, {256, 0}}, {0, {219, 36, 1}}, {0, {0, 256, 0}}, {0, {0, 36, 220}}, {1, {0, 256}}}},
        {5, 3, 256, {{0, {166, 89, 1}}, {0, {0, 13, 228, 13, 2}}, {2, {0, 89, 167}}}},
        {9, 2, 1024, {{0, {142, 267, 330, 205, 77, 3}}, {3, {0, 77, 205, 330, 267, 145}}}},
    };
    for (const Case& c : cases) {
        const auto taps = PLScaleFilter::Contributions(c.oldSize, c.newSize);
        EXPECT_EQ(taps.Scale(), c.scale) << c.oldSize << " to " << c.newSize;
        ASSERT_EQ(taps.positions.size(), c.positions.size());
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_EQ(taps.positions[i].first, c.positions[i].first) << c.oldSize << ":" << i;
            EXPECT_EQ(taps.positions[i].weights, c.positions[i].weights) << c.oldSize << ":" << i;
        }
    }
}

}  // namespace
}  // namespace velmora::picture

namespace velmora::picture {
namespace {

void Fill(PLRaster& raster, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
    for (int y = 0; y < raster.GetHeight(); ++y) {
        for (int x = 0; x < raster.GetWidth(); ++x) {
            std::uint8_t* p = raster.GetLine(y) + 4 * x;
            p[0] = b, p[1] = g, p[2] = r, p[3] = a;
        }
    }
}

TEST(ScaleFilter, TheSameSizeIsAPlainCopy) {
    PLMemoryRaster raster;
    raster.Create(7, 5, 32, true);
    for (int y = 0; y < 5; ++y) {
        for (int i = 0; i < 28; ++i) {
            raster.GetLine(y)[i] = static_cast<std::uint8_t>(y * 31 + i * 7);
        }
    }
    PLMemoryRaster scaled;
    PLScaleFilter(7, 5).Apply(raster, scaled);
    EXPECT_TRUE(scaled.HasAlpha());
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(0, std::memcmp(scaled.GetLine(y), raster.GetLine(y), 28));
    }
}

TEST(ScaleFilter, AUniformPictureStaysUniformWhenShrunkOrEnlarged) {
    PLMemoryRaster raster;
    raster.Create(97, 61, 32, false);
    Fill(raster, 10, 120, 250, 255);
    for (const auto& [w, h] : {std::pair{13, 7}, std::pair{300, 200}, std::pair{97, 1}}) {
        PLMemoryRaster scaled;
        PLScaleFilter(w, h).Apply(raster, scaled);
        ASSERT_EQ(scaled.GetWidth(), w);
        ASSERT_EQ(scaled.GetHeight(), h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = scaled.GetLine(y) + 4 * x;
                ASSERT_EQ(p[0], 10);
                ASSERT_EQ(p[1], 120);
                ASSERT_EQ(p[2], 250);
                ASSERT_EQ(p[3], 255);
            }
        }
    }
}

TEST(ScaleFilter, HalvingAveragesNeighboursAndApplyReplacesTheRaster) {
    PLMemoryRaster raster;
    raster.Create(4, 1, 32, false);
    for (int x = 0; x < 4; ++x) {
        std::uint8_t* p = raster.GetLine(0) + 4 * x;
        p[0] = p[1] = p[2] = x % 2 == 0 ? 0 : 200;
        p[3] = 255;
    }
    raster.ApplyRasterFilter(PLScaleFilter(2, 1));
    ASSERT_EQ(raster.GetWidth(), 2);
    for (int x = 0; x < 2; ++x) {
        EXPECT_NEAR(raster.GetLine(0)[4 * x], 100, 2);
    }
}

TEST(ScaleFilter, AFineCheckerboardShrunkBy200IsMidGrey) {
    PLMemoryRaster raster;
    raster.Create(2000, 2000, 32, false);
    for (int y = 0; y < 2000; ++y) {
        for (int x = 0; x < 2000; ++x) {
            std::uint8_t* p = raster.GetLine(y) + 4 * x;
            p[0] = p[1] = p[2] = (x + y) % 2 == 0 ? 0 : 255;
            p[3] = 255;
        }
    }
    raster.ApplyRasterFilter(PLScaleFilter(10, 10));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_NEAR(raster.GetLine(y)[4 * x + PL_GREEN], 127.5, 3) << x << "," << y;
        }
    }
}

TEST(ScaleFilter, RefusesAnythingButThirtyTwoBits) {
    PLMemoryRaster raster;  // 8 bits
    PLMemoryRaster scaled;
    EXPECT_THROW(PLScaleFilter(4, 4).Apply(raster, scaled), PLTextException);
}

}  // namespace
}  // namespace velmora::picture

namespace velmora::picture {
namespace {

// Both passes over a whole intermediate picture, as written down.
std::vector<std::uint8_t> ReferenceScale(const PLRaster& source, int newWidth, int newHeight) {
    const int oldWidth = source.GetWidth();
    const int oldHeight = source.GetHeight();
    auto weighted = [](std::int64_t sum, std::int64_t scale) {
        return static_cast<std::uint8_t>((sum + scale / 2) / scale);
    };
    std::vector<std::uint8_t> middle(static_cast<std::size_t>(newWidth) * oldHeight * 4);
    const auto taps = PLScaleFilter::Contributions(oldWidth, newWidth);
    const auto& columns = taps.positions;
    for (int y = 0; y < oldHeight; ++y) {
        for (int x = 0; x < newWidth; ++x) {
            for (int k = 0; k < 4; ++k) {
                std::int64_t sum = 0;
                for (std::size_t t = 0; t < columns[x].weights.size(); ++t) {
                    sum += columns[x].weights[t] *
                           source.GetLine(y)[4 * (columns[x].first + static_cast<int>(t)) + k];
                }
                middle[(static_cast<std::size_t>(y) * newWidth + x) * 4 + k] =
                    weighted(sum, taps.Scale());
            }
        }
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(newWidth) * newHeight * 4);
    const auto rowTaps = PLScaleFilter::Contributions(oldHeight, newHeight);
    const auto& rows = rowTaps.positions;
    for (int y = 0; y < newHeight; ++y) {
        for (int i = 0; i < newWidth * 4; ++i) {
            std::int64_t sum = 0;
            for (std::size_t t = 0; t < rows[y].weights.size(); ++t) {
                const int row = rows[y].first + static_cast<int>(t);
                sum +=
                    rows[y].weights[t] * middle[static_cast<std::size_t>(row) * newWidth * 4 + i];
            }
            out[static_cast<std::size_t>(y) * newWidth * 4 + i] = weighted(sum, rowTaps.Scale());
        }
    }
    return out;
}

TEST(ScaleFilter, RowByRowPassesGiveTheSameBytesAsWholePasses) {
    PLMemoryRaster raster;
    raster.Create(37, 23, 32, true);
    std::uint32_t seed = 7;
    for (int y = 0; y < 23; ++y) {
        for (int i = 0; i < 37 * 4; ++i) {
            seed = seed * 1103515245u + 12345u;
            raster.GetLine(y)[i] = static_cast<std::uint8_t>(seed >> 16);
        }
    }
    for (const auto& [w, h] :
         {std::pair{11, 29}, std::pair{80, 5}, std::pair{3, 3}, std::pair{4, 1}}) {
        PLMemoryRaster scaled;
        PLScaleFilter(w, h).Apply(raster, scaled);
        const auto expected = ReferenceScale(raster, w, h);
        for (int y = 0; y < h; ++y) {
            ASSERT_EQ(0,
                      std::memcmp(scaled.GetLine(y), &expected[static_cast<std::size_t>(y) * w * 4],
                                  static_cast<std::size_t>(w) * 4))
                << w << "x" << h << " row " << y;
        }
    }
}

}  // namespace
}  // namespace velmora::picture
