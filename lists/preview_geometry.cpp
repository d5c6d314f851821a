#include "lists/preview_geometry.h"

#include <algorithm>
#include <cmath>

namespace velmora::lists {

namespace {

std::int32_t Scaled(std::int32_t side, std::int32_t denominator) {
    return (side + denominator - 1) / denominator;
}

}  // namespace

PictureSize FitPreview(PictureSize picture, PictureSize box) {
    if (box.width <= 0 || box.height <= 0 || picture.width <= 0 || picture.height <= 0) {
        return picture;
    }
    const double scale = std::min(static_cast<double>(box.width) / picture.width,
                                  static_cast<double>(box.height) / picture.height);
    // The side that limits the scale fills the box exactly.
    const auto side = [scale](std::int32_t size, std::int32_t limit) {
        const double scaled = std::floor(size * scale + 1e-9);
        return static_cast<std::int32_t>(std::clamp(scaled, 1.0, static_cast<double>(limit)));
    };
    return {side(picture.width, box.width), side(picture.height, box.height)};
}

PictureSize FullPictureSize(PictureSize decoded, std::optional<PictureSize> header) {
    if (!header || header->width <= 0 || header->height <= 0) {
        return decoded;
    }
    for (const std::int32_t d : {1, 2, 4, 8}) {
        const PictureSize scaled{Scaled(header->width, d), Scaled(header->height, d)};
        if (scaled == decoded) {
            return *header;
        }
        if (PictureSize{scaled.height, scaled.width} == decoded) {
            return {header->height, header->width};
        }
    }
    return decoded;
}

}  // namespace velmora::lists
