// The library's trace: informational lines and error texts appended to a
// file when a trace level and a path are set. Off unless someone sets both.
#pragma once

#include <string>
#include <string_view>

namespace velmora::picture {

// Lines whose level is below traceLevel are written to path.
void PLSetTraceConfig(int traceLevel, const std::string& path);

void PLTrace(int level, std::string_view line);

}  // namespace velmora::picture
