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

PLScaledRows::PLScaledRows(std::int32_t oldWidth, std::int32_t oldHeight, PLRaster& destination,
                           bool bottomUp)
    : oldWidth_(oldWidth),
      oldHeight_(oldHeight),
      destination_(destination),
      bottomUp_(bottomUp),
      sameWidth_(destination.GetWidth() == oldWidth),
      sameHeight_(destination.GetHeight() == oldHeight),
      rowBytes_(static_cast<std::size_t>(destination.GetWidth()) * 4) {
    const std::int32_t newHeight = destination.GetHeight();
    if (!sameWidth_) {
        columns_ = PLScaleFilter::Contributions(oldWidth, destination.GetWidth());
    }
    if (!sameHeight_) {
        rows_ = PLScaleFilter::Contributions(oldHeight, newHeight);
        // An output row is made as soon as its last tap (its first, going up)
        // has come; the window must still hold every tap it reads then.
        std::int32_t reach = bottomUp ? oldHeight : -1;
        for (std::int32_t k = 0; k < newHeight; ++k) {
            const std::int32_t y = bottomUp ? newHeight - 1 - k : k;
            const std::int32_t need = bottomUp
                                          ? LastTap(y) - (reach = std::min(reach, FirstTap(y))) + 1
                                          : (reach = std::max(reach, LastTap(y))) - FirstTap(y) + 1;
            windowRows_ = std::max(windowRows_, static_cast<std::size_t>(need));
        }
    }
    // A strong reduction of one side only (a stretch) widens the window; it
    // may take no more than a raster may.
    if (windowRows_ > PLRaster::GetMaximumBytes() / rowBytes_) {
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating bitmap.");
    }
    window_.resize(rowBytes_ * windowRows_);
    heldPixel_.resize(windowRows_);
    sums_.resize(sameHeight_ ? 0 : rowBytes_);
}

std::int32_t PLScaledRows::FirstTap(std::int32_t y) const {
    return sameHeight_ ? y : rows_.positions[static_cast<std::size_t>(y)].first;
}

std::int32_t PLScaledRows::LastTap(std::int32_t y) const {
    if (sameHeight_) {
        return y;
    }
    const PLScaleFilter::Contribution& c = rows_.positions[static_cast<std::size_t>(y)];
    return c.first + static_cast<std::int32_t>(c.weights.size()) - 1;
}

std::uint8_t* PLScaledRows::Held(std::int32_t y) {
    return &window_[rowBytes_ * (static_cast<std::size_t>(y) % windowRows_)];
}

namespace {

// Whether every pixel of the row is the first one.
bool IsUniform(const std::uint8_t* row, std::int32_t width) {
    for (std::int32_t x = 1; x < width; ++x) {
        if (std::memcmp(row + 4 * static_cast<std::size_t>(x), row, 4) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

void PLScaledRows::Push(const std::uint8_t* row) {
    if (IsUniform(row, oldWidth_)) {
        PushUniform(row);
        return;
    }
    if (pushed_ >= oldHeight_) {
        return;
    }
    const std::int32_t y = NextRow();
    ScaleRow(row, Held(y));
    heldPixel_[static_cast<std::size_t>(y) % windowRows_].reset();
    EmitReady(y);
}

// The weights of every output pixel sum to the scale, so a row of one pixel
// scales to a row of that pixel: made without the horizontal pass, and not
// even written when its slot already holds it (the rows an RLE picture
// leaves out, plain backgrounds).
void PLScaledRows::PushUniform(const std::uint8_t* pixel) {
    if (pushed_ >= oldHeight_) {
        return;
    }
    const std::int32_t y = NextRow();
    std::uint32_t value = 0;
    std::memcpy(&value, pixel, 4);
    std::optional<std::uint32_t>& held = heldPixel_[static_cast<std::size_t>(y) % windowRows_];
    if (held != value) {
        std::uint8_t* out = Held(y);
        for (std::size_t k = 0; k < rowBytes_; k += 4) {
            std::memcpy(out + k, pixel, 4);
        }
        held = value;
    }
    EmitReady(y);
}

std::int32_t PLScaledRows::NextRow() {
    const std::int32_t y = bottomUp_ ? oldHeight_ - 1 - pushed_ : pushed_;
    ++pushed_;
    return y;
}

// Makes every output row whose taps have all come with source row y.
void PLScaledRows::EmitReady(std::int32_t y) {
    const std::int32_t newHeight = destination_.GetHeight();
    while (emitted_ < newHeight) {
        const std::int32_t next = bottomUp_ ? newHeight - 1 - emitted_ : emitted_;
        if (bottomUp_ ? FirstTap(next) < y : LastTap(next) > y) {
            break;
        }
        Emit(next);
        ++emitted_;
    }
}

// The horizontal pass of one row.
void PLScaledRows::ScaleRow(const std::uint8_t* in, std::uint8_t* out) const {
    if (sameWidth_) {
        std::memcpy(out, in, rowBytes_);
        return;
    }
    const auto newWidth = static_cast<std::int32_t>(columns_.positions.size());
    for (std::int32_t x = 0; x < newWidth; ++x) {
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
}

// The vertical pass of output row y over the held rows.
void PLScaledRows::Emit(std::int32_t y) {
    std::uint8_t* out = destination_.GetLine(y);
    if (sameHeight_) {
        std::memcpy(out, Held(y), rowBytes_);
        return;
    }
    const PLScaleFilter::Contribution& c = rows_.positions[static_cast<std::size_t>(y)];
    std::fill(sums_.begin(), sums_.end(), 0);
    std::int32_t row = c.first;
    for (const std::int32_t w : c.weights) {
        const std::uint8_t* in = Held(row);
        for (std::size_t k = 0; k < rowBytes_; ++k) {
            sums_[k] += w * in[k];
        }
        ++row;
    }
    for (std::size_t k = 0; k < rowBytes_; ++k) {
        out[k] = Weighted(sums_[k], rows_.shift);
    }
}

void PLScaleFilter::Apply(const PLRaster& source, PLRaster& destination) const {
    if (source.GetBitsPerPixel() != 32) {
        PLRaiseError(pl_error::NotSupported, "The scale filter needs a 32-bit bitmap.");
    }
    if (newWidth_ < 1 || newHeight_ < 1) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
    destination.Create(newWidth_, newHeight_, 32, source.HasAlpha());
    destination.SetResolution(source.GetResolutionX(), source.GetResolutionY());
    PLScaledRows rows(source.GetWidth(), source.GetHeight(), destination);
    for (std::int32_t y = 0; y < source.GetHeight(); ++y) {
        rows.Push(source.GetLine(y));
    }
}

}  // namespace velmora::picture
