// The system information report for support e-mail.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::diag {

// Windows version, processor and its clock, memory and the OpenGL driver's
// strings, read through a temporary context on the given window (whose pixel
// format stays set). Runs on the calling thread; raises the process to
// real-time priority for 50 ms while the clock is measured.
std::string BuildSystemReport(HWND window);

}  // namespace velmora::diag
