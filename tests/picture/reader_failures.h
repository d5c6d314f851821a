// What a reader's refusal looked like, for the format readers' tests: run
// the reader itself (the recognition would not send every test file to it)
// or the whole decoder at 32 bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture::testing {

struct Failure {
    int code = 0;  // 0: no failure
    std::string message;
};

template <typename Reader>
Failure ReaderFailure(const std::vector<std::uint8_t>& file) {
    PLMemoryRaster raster;
    PLMemoryInput input(file.data(), file.size());
    try {
        Reader().Decode(input, raster, nullptr);
    } catch (const PLTextException& e) {
        return {e.GetCode(), e.GetMessage()};
    }
    return {};
}

inline Failure DecoderFailure(const std::vector<std::uint8_t>& file) {
    PLMemoryRaster raster;
    try {
        PLAutoDecoder().DecodeMemoryToRaster(file.data(), file.size(), raster, 32);
    } catch (const PLTextException& e) {
        return {e.GetCode(), e.GetMessage()};
    }
    return {};
}

}  // namespace velmora::picture::testing
