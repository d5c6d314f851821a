// A WGL context made current on a window's device context: the one way the
// device and the system report get theirs, so the pixel-format request and
// the order of the steps exist once.
#pragma once

#include <windows.h>

namespace velmora::engine {

// The step that failed, for callers that tell the user which.
enum class GlContextStep {
    None,
    ChooseFormat,
    DescribeFormat,
    SetFormat,
    CreateContext,
    MakeCurrent
};

struct GlContextResult {
    // Current on the device context; null when a step failed.
    HGLRC context = nullptr;
    GlContextStep failed = GlContextStep::None;
};

// Double-buffered RGBA OpenGL in a window (generic accelerated), 24 colour
// bits, 32 depth bits, main plane.
PIXELFORMATDESCRIPTOR StandardPixelFormatRequest();

// Sets pixel format number format on dc (0: the system's closest match to the
// standard request), creates a context and makes it current. A failed step
// leaves no context behind; the pixel format, once set, stays with the window.
GlContextResult MakeCurrentGlContext(HDC dc, int format = 0);

// Makes no context current and deletes context.
void DeleteGlContext(HGLRC context);

}  // namespace velmora::engine
