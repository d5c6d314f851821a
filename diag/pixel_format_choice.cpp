#include "diag/pixel_format_choice.h"

namespace velmora::diag {

bool IsPixelFormatCandidate(const PixelFormatTraits& format) {
    constexpr std::uint32_t kNeeded = kPfdSupportOpenGl | kPfdDrawToWindow | kPfdDoubleBuffer;
    return (format.flags & kNeeded) == kNeeded && format.pixelType == kPfdTypeRgba;
}

int PixelFormatScore(const PixelFormatTraits& format) {
    int score = format.colorBits + 2 * format.depthBits;
    if (format.colorBits > 16) {
        score += (16 - format.colorBits) / 2;  // rounds toward zero
    }
    if ((format.flags & kPfdGenericFormat) == 0) {
        score += 2000;
    } else if ((format.flags & kPfdGenericAccelerated) != 0) {
        score += 1000;
    }
    return score;
}

int ChooseBestPixelFormat(std::span<const PixelFormatTraits> formats) {
    int best = 0;
    int bestScore = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (!IsPixelFormatCandidate(formats[i])) {
            continue;
        }
        const int score = PixelFormatScore(formats[i]);
        if (score > bestScore) {
            bestScore = score;
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}

}  // namespace velmora::diag
