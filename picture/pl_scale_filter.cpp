#include "picture/pl_scale_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

constexpr double kRadius = 0.64;
// Keeps a weight times a byte inside 32 bits (reductions beyond 1:65536 get
// no finer weights).
constexpr int kMaximumShift = 15;

double Tent(double distance) {
    const double d = std::fabs(distance);
    return d < kRadius ? kRadius - d : 0.0;
}

// The smallest k with 2^k >= old / (2 × new): the reduction beyond 1:2 in
// halvings, rounded up.
int WeightShift(std::int32_t oldSize, std::int32_t newSize) {
    int shift = 0;
    while (shift < kMaximumShift && (std::int64_t{2} * newSize << shift) < oldSize) {
        ++shift;
    }
    return shift;
}

// The rounded byte of a sum weighted on a scale of 256 << shift.
std::uint8_t Weighted(std::int64_t sum, int shift) {
    const std::int64_t value = (sum + (std::int64_t{128} << shift)) >> (8 + shift);
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

}  // namespace

PLScaleFilter::AxisTaps PLScaleFilter::Contributions(std::int32_t oldSize, std::int32_t newSize) {
    AxisTaps taps;
    taps.shift = WeightShift(oldSize, newSize);
    const std::int64_t total = taps.Scale();
    taps.positions.resize(static_cast<std::size_t>(newSize));
    const double scale = static_cast<double>(newSize) / static_cast<double>(oldSize);
    const bool shrinking = scale < 1.0;
    const double support = shrinking ? kRadius / scale : kRadius;
    const std::int32_t maxTaps = 2 * static_cast<std::int32_t>(std::ceil(support)) + 1;

    for (std::int32_t i = 0; i < newSize; ++i) {
        const double centre = (i + 0.5) / scale - 0.5;
        const std::int32_t left =
            std::max<std::int32_t>(0, static_cast<std::int32_t>(std::floor(centre - support)));
        std::int32_t right = std::min<std::int32_t>(
            oldSize - 1, static_cast<std::int32_t>(std::ceil(centre + support)));
        if (right - left + 1 > maxTaps) {
            --right;
        }
        Contribution& c = taps.positions[static_cast<std::size_t>(i)];
        c.first = left;
        std::int64_t sum = 0;
        for (std::int32_t j = left; j <= right; ++j) {
            const double d = centre - j;
            const double w = shrinking ? Tent(d * scale) * scale : Tent(d);
            const auto weight = static_cast<std::int32_t>(w * static_cast<double>(total));
            c.weights.push_back(weight);
            sum += weight;
        }
        if (c.weights.empty()) {
            c.first = std::clamp<std::int32_t>(static_cast<std::int32_t>(std::lround(centre)), 0,
                                               oldSize - 1);
            c.weights.push_back(static_cast<std::int32_t>(total));
            continue;
        }
        if (sum <= 0) {
            // Cannot happen with this kernel, but never divide by zero: take
            // the nearest pixel.
            std::fill(c.weights.begin(), c.weights.end(), 0);
            const auto nearest =
                std::clamp<std::int32_t>(static_cast<std::int32_t>(std::lround(centre)) - left, 0,
                                         static_cast<std::int32_t>(c.weights.size()) - 1);
            c.weights[static_cast<std::size_t>(nearest)] = static_cast<std::int32_t>(total);
            continue;
        }
        std::int64_t given = 0;
        for (std::size_t k = 0; k + 1 < c.weights.size(); ++k) {
            c.weights[k] = static_cast<std::int32_t>(c.weights[k] * total / sum);
            given += c.weights[k];
        }
        c.weights.back() = static_cast<std::int32_t>(total - given);
    }
    return taps;
}

namespace {

// The horizontal pass, run row by row as the vertical pass asks for rows,
// into a small ring of rows: the same bytes as a whole intermediate picture
// of new width × old height, without holding one.
class HorizontalRows {
public:
    HorizontalRows(const PLRaster& source, std::int32_t newWidth,
                   const PLScaleFilter::AxisTaps& columns, bool sameWidth, std::size_t ringSize)
        : source_(source),
          newWidth_(newWidth),
          rowBytes_(static_cast<std::size_t>(newWidth) * 4),
          columns_(columns),
          sameWidth_(sameWidth),
          ringSize_(ringSize),
          ring_(rowBytes_ * ringSize),
          ringRow_(ringSize, -1) {}

    // Source row y at the new width.
    const std::uint8_t* Row(std::int32_t y) {
        const std::size_t slot = static_cast<std::size_t>(y) % ringSize_;
        std::uint8_t* out = &ring_[rowBytes_ * slot];
        if (ringRow_[slot] == y) {
            return out;
        }
        ringRow_[slot] = y;
        const std::uint8_t* in = source_.GetLine(y);
        if (sameWidth_) {
            std::memcpy(out, in, rowBytes_);
            return out;
        }
        for (std::int32_t x = 0; x < newWidth_; ++x) {
            const PLScaleFilter::Contribution& c = columns_.positions[static_cast<std::size_t>(x)];
            std::int64_t sum[4] = {0, 0, 0, 0};
            const std::uint8_t* pixel = in + 4 * static_cast<std::size_t>(c.first);
            for (const std::int32_t w : c.weights) {
                sum[0] += w * pixel[0];
                sum[1] += w * pixel[1];
                sum[2] += w * pixel[2];
                sum[3] += w * pixel[3];
                pixel += 4;
            }
            for (int k = 0; k < 4; ++k) {
                out[4 * x + k] = Weighted(sum[k], columns_.shift);
            }
        }
        return out;
    }

private:
    const PLRaster& source_;
    std::int32_t newWidth_;
    std::size_t rowBytes_;
    const PLScaleFilter::AxisTaps& columns_;
    bool sameWidth_;
    std::size_t ringSize_;
    std::vector<std::uint8_t> ring_;
    std::vector<std::int32_t> ringRow_;
};

// Enough slots that the rows one output row reads never share a slot.
std::size_t RingSize(const PLScaleFilter::AxisTaps& rows) {
    std::size_t ringSize = 1;
    for (const PLScaleFilter::Contribution& c : rows.positions) {
        ringSize = std::max(ringSize, c.weights.size() + 1);
    }
    return ringSize;
}

// The vertical pass over the horizontally scaled rows, into destination.
void VerticalPass(HorizontalRows& horizontal, const PLScaleFilter::AxisTaps& rows, bool sameHeight,
                  PLRaster& destination) {
    const std::int32_t newHeight = destination.GetHeight();
    const std::size_t rowBytes = static_cast<std::size_t>(destination.GetWidth()) * 4;
    std::vector<std::int64_t> sums(rowBytes);
    for (std::int32_t y = 0; y < newHeight; ++y) {
        std::uint8_t* out = destination.GetLine(y);
        if (sameHeight) {
            std::memcpy(out, horizontal.Row(y), rowBytes);
            continue;
        }
        const PLScaleFilter::Contribution& c = rows.positions[static_cast<std::size_t>(y)];
        std::fill(sums.begin(), sums.end(), 0);
        std::int32_t row = c.first;
        for (const std::int32_t w : c.weights) {
            const std::uint8_t* in = horizontal.Row(row);
            for (std::size_t k = 0; k < rowBytes; ++k) {
                sums[k] += w * in[k];
            }
            ++row;
        }
        for (std::size_t k = 0; k < rowBytes; ++k) {
            out[k] = Weighted(sums[k], rows.shift);
        }
    }
}

}  // namespace

void PLScaleFilter::Apply(const PLRaster& source, PLRaster& destination) const {
    if (source.GetBitsPerPixel() != 32) {
        PLRaiseError(pl_error::NotSupported, "The scale filter needs a 32-bit bitmap.");
    }
    if (newWidth_ < 1 || newHeight_ < 1) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
    const std::int32_t oldWidth = source.GetWidth();
    const std::int32_t oldHeight = source.GetHeight();
    const bool sameWidth = newWidth_ == oldWidth;
    const AxisTaps columns = sameWidth ? AxisTaps{} : Contributions(oldWidth, newWidth_);
    const bool sameHeight = newHeight_ == oldHeight;
    const AxisTaps rows = sameHeight ? AxisTaps{} : Contributions(oldHeight, newHeight_);
    HorizontalRows horizontal(source, newWidth_, columns, sameWidth, RingSize(rows));

    // The destination may be the source's own kind; build it only now, since
    // the source stays readable until then.
    destination.Create(newWidth_, newHeight_, 32, source.HasAlpha());
    destination.SetResolution(source.GetResolutionX(), source.GetResolutionY());
    VerticalPass(horizontal, rows, sameHeight, destination);
}

}  // namespace velmora::picture
