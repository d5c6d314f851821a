// The WebP reader alone under the fuzzer: whole, and scaled into a box (the
// last byte picks which), within the raster limit.
#include <cstddef>
#include <cstdint>

#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_webp_reader.h"
#include "tests/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::picture;
    fuzzing::LimitRasters();
    const PLDecodeHint hint{64, 48, (size > 0 && (data[size - 1] & 2) != 0)};
    const bool scaled = size > 0 && (data[size - 1] & 1) != 0;
    ReadWebPFrameSize(data, size);
    PLMemoryInput input(data, size);
    PLMemoryRaster raster;
    try {
        PLWebPReader().Decode(input, raster, scaled ? &hint : nullptr);
    } catch (const PLTextException&) {
    }
    return 0;
}
