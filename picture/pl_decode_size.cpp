#include "picture/pl_decode_size.h"

#include <algorithm>
#include <cmath>

namespace velmora::picture {

PLFrameSize DecodeSizeForHint(PLFrameSize picture, const PLDecodeHint* hint) {
    if (hint == nullptr || hint->boxWidth <= 0 || hint->boxHeight <= 0 || picture.width <= 0 ||
        picture.height <= 0) {
        return picture;
    }
    if (!hint->fitKeepingAspect) {
        return {std::min(picture.width, hint->boxWidth), std::min(picture.height, hint->boxHeight)};
    }
    const double factor = std::min({1.0, static_cast<double>(hint->boxWidth) / picture.width,
                                    static_cast<double>(hint->boxHeight) / picture.height});
    const auto side = [factor](std::int32_t size, std::int32_t limit) {
        const double scaled = std::round(size * factor);
        return static_cast<std::int32_t>(std::clamp(scaled, 1.0, static_cast<double>(limit)));
    };
    return {side(picture.width, hint->boxWidth), side(picture.height, hint->boxHeight)};
}

}  // namespace velmora::picture
