// The BMP reader alone under the fuzzer (see reader_fuzz.h).
#include <cstddef>
#include <cstdint>

#include "picture/pl_bitmap_file_reader.h"
#include "tests/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return velmora::picture::fuzzing::FuzzReader<velmora::picture::PLBitmapFileReader>(data, size);
}
