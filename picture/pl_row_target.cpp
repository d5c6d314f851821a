#include "picture/pl_row_target.h"

#include <algorithm>
#include <cstring>

#include "picture/pl_text_exception.h"

namespace velmora::picture {

PLRowTarget::PLRowTarget(PLRaster& raster, const PLDecodeHint* hint)
    : raster_(raster), hint_(hint != nullptr && hint->scaledSize ? hint : nullptr) {}

void PLRowTarget::Create(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                         bool alpha, bool bottomUp) {
    // A side too long for the filter's taps and rows (over 1/256 of the
    // raster cap, 4,194,304 pixels at the default) is read at full size,
    // where the raster cap decides.
    const std::uint64_t cap = PLRaster::GetMaximumBytes();
    if (static_cast<std::uint64_t>(std::max(width, height)) > cap / 256) {
        hint_ = nullptr;
    }
    if (hint_ == nullptr) {
        raster_.Create(width, height, bitsPerPixel, alpha);
        return;
    }
    if (width < 1 || height < 1) {
        PLRaiseError(pl_error::FormatError, "Invalid bitmap dimensions.");
    }
    // No full-size raster is made, so the raster cap does not bound the
    // picture; its work stays bounded by allowing one pixel per byte of it.
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > cap) {
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating bitmap.");
    }
    const PLSize size = hint_->scaledSize(PLSize{width, height});
    row_.Create(width, 1, bitsPerPixel, alpha);
    if (bitsPerPixel != 32) {
        converted_.resize(static_cast<std::size_t>(width) * 4);
    }
    raster_.Create(size.width, size.height, 32, alpha);
    height_ = height;
    done_ = 0;
    scaled_.emplace(width, height, raster_, bottomUp);
}

void PLRowTarget::LineDone(std::int32_t) {
    if (!Scaling() || done_ == height_) {
        return;
    }
    ++done_;
    const std::uint8_t* line = row_.GetLine(0);
    if (row_.GetBitsPerPixel() == 32) {
        scaled_->Push(line);
        return;
    }
    // The palette entry of each index, as the conversion to 32 bits gives.
    const std::uint8_t* palette = row_.GetPalette();
    const std::size_t width = converted_.size() / 4;
    for (std::size_t x = 0; x < width; ++x) {
        std::memcpy(&converted_[4 * x], palette + 4 * line[x], 4);
    }
    scaled_->Push(converted_.data());
}

void PLRowTarget::Finish() {
    if (!Scaling() || done_ == height_) {
        return;
    }
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    if (row_.GetBitsPerPixel() != 32) {
        std::memcpy(pixel, row_.GetPalette(), 4);
    }
    for (; done_ < height_; ++done_) {
        scaled_->PushUniform(pixel);
    }
}

}  // namespace velmora::picture
