// The PSD reader alone under the fuzzer (see reader_fuzz.h).
#include <cstddef>
#include <cstdint>

#include "picture/pl_psd_reader.h"
#include "tests/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return velmora::picture::fuzzing::FuzzReader<velmora::picture::PLPsdReader>(data, size);
}
