// Writes what the screen shows of a window to a BMP file, for the dialog
// screenshot tools.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::testing {

// The window's rectangle as it is on the screen, frame included, 24 bits per
// pixel. False when nothing could be written.
bool CaptureWindowToBmp(HWND window, const std::string& path);

}  // namespace velmora::testing
