// Any input either decodes or fails with a PLTextException, without reading
// or writing past a buffer and without allocating more than the raster limit.
#include <cstddef>
#include <cstdint>

#include "picture/pl_input.h"
#include "picture/pl_pcx_reader.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

using velmora::picture::PLMemoryInput;
using velmora::picture::PLMemoryRaster;
using velmora::picture::PLPcxReader;
using velmora::picture::PLRaster;
using velmora::picture::PLTextException;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool limited = [] {
        PLRaster::SetMaximumBytes(std::size_t{64} << 20);
        return true;
    }();
    (void)limited;
    PLMemoryInput input(data, size);
    PLMemoryRaster raster;
    try {
        PLPcxReader().Decode(input, raster, nullptr);
    } catch (const PLTextException&) {
    }
    return 0;
}
