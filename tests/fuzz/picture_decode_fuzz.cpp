// The whole road of a picture: any bytes are recognised, decoded with a
// 512 box hint at 32 bits, and fitted into 512 × 512 with the scale filter,
// by the reader as it decodes where it can, else afterwards.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"
#include "tests/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::picture;
    fuzzing::LimitRasters();
    try {
        const auto fit = [](PLSize picture) {
            const double factor = std::min(512.0 / picture.width, 512.0 / picture.height);
            return PLSize{std::max(1, static_cast<int>(picture.width * factor)),
                          std::max(1, static_cast<int>(picture.height * factor))};
        };
        bool scaledWhileDecoding = false;
        PLDecodeHint hint(512, 512, true);
        hint.scaledSize = [&](PLSize picture) {
            scaledWhileDecoding = true;
            return fit(picture);
        };
        PLMemoryRaster raster;
        PLAutoDecoder().DecodeMemoryToRaster(data, size, raster, 32, &hint);
        if (!scaledWhileDecoding) {
            const PLSize fitted = fit({raster.GetWidth(), raster.GetHeight()});
            raster.ApplyRasterFilter(PLScaleFilter(fitted.width, fitted.height));
        }
    } catch (const PLTextException&) {
    }
    return 0;
}
