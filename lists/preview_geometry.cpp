#include "lists/preview_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace velmora::lists {

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
    // Each side of a reduced decode is off the exact scale by under a pixel.
    const auto reducedCopyOf = [&decoded](PictureSize full) {
        const std::int64_t skew =
            std::int64_t{decoded.width} * full.height - std::int64_t{decoded.height} * full.width;
        return decoded.width <= full.width && decoded.height <= full.height &&
               std::llabs(skew) < std::int64_t{full.width} + full.height;
    };
    if (reducedCopyOf(*header)) {
        return *header;
    }
    const PictureSize turned{header->height, header->width};
    return reducedCopyOf(turned) ? turned : decoded;
}

}  // namespace velmora::lists
