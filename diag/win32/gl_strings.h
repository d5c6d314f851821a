// The OpenGL driver's strings, read through a temporary context on a window.
#pragma once

#include <windows.h>

#include <optional>

#include "diag/report_text.h"

namespace velmora::diag {

// Sets the best pixel format on the window's device context (it stays set),
// makes a context, reads GL_VENDOR, GL_RENDERER and GL_VERSION and deletes the
// context. A pixel format that cannot be had or set is also reported in a
// message box; none on any failure.
std::optional<GlStrings> ReadGlStrings(HWND window);

}  // namespace velmora::diag
