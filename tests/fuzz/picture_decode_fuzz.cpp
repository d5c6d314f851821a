// The whole road of a picture: any bytes are recognised, decoded with a
// 512 box hint at 32 bits, and fitted into 512 × 512 with the scale filter.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::picture;
    static const bool limited = [] {
        PLRaster::SetMaximumBytes(std::size_t{64} << 20);
        return true;
    }();
    (void)limited;
    try {
        PLMemoryRaster raster;
        const PLDecodeHint hint{512, 512, true};
        PLAutoDecoder().DecodeMemoryToRaster(data, size, raster, 32, &hint);
        const double factor = std::min(512.0 / raster.GetWidth(), 512.0 / raster.GetHeight());
        const auto width = std::max(1, static_cast<int>(raster.GetWidth() * factor));
        const auto height = std::max(1, static_cast<int>(raster.GetHeight() * factor));
        raster.ApplyRasterFilter(PLScaleFilter(width, height));
    } catch (const PLTextException&) {
    }
    return 0;
}
