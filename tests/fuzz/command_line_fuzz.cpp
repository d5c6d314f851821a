// Any command line parses into one of the four run modes without reading
// past the end of the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "frame/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const velmora::ParsedCommandLine parsed = velmora::ParseCommandLine(line);
    const int mode = static_cast<int>(parsed.mode);
    if (mode < 1 || mode > 4) {
        std::abort();
    }
    if (parsed.window > std::numeric_limits<std::int32_t>::max() ||
        parsed.window < std::numeric_limits<std::int32_t>::min()) {
        std::abort();
    }
    if (parsed.useForegroundWindow && parsed.window != 0) {
        std::abort();
    }
    return 0;
}
