// The body of every single-reader fuzz target: any input either decodes or
// fails with a PLTextException, without reading or writing past a buffer and
// without allocating more than the raster limit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture::fuzzing {

template <typename Reader>
int FuzzReader(const std::uint8_t* data, std::size_t size) {
    static const bool limited = [] {
        PLRaster::SetMaximumBytes(std::size_t{64} << 20);
        return true;
    }();
    (void)limited;
    PLMemoryInput input(data, size);
    PLMemoryRaster raster;
    try {
        Reader().Decode(input, raster, nullptr);
    } catch (const PLTextException&) {
    }
    return 0;
}

}  // namespace velmora::picture::fuzzing
