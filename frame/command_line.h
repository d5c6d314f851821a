// Turns the command line that the system's screen-saver machinery passes into
// a run mode and a window handle.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/run_mode.h"

namespace velmora {

struct ParsedCommandLine {
    RunMode mode = RunMode::Settings;
    // Window handle as the number given on the line; 0 for none.
    std::int64_t window = 0;
    // "/c" with nothing after it: the parent is the current foreground window.
    bool useForegroundWindow = false;
};

// Reads the whole line, program name included.
ParsedCommandLine ParseCommandLine(std::string_view line);

}  // namespace velmora
