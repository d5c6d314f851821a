#include "engine/win32/gl_context.h"

namespace velmora::engine {

PIXELFORMATDESCRIPTOR StandardPixelFormatRequest() {
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request;
    request.nVersion = 1;
    request.dwFlags =
        PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    request.cDepthBits = 32;
    request.iLayerType = PFD_MAIN_PLANE;
    return request;
}

GlContextResult MakeCurrentGlContext(HDC dc, int format) {
    PIXELFORMATDESCRIPTOR descriptor = StandardPixelFormatRequest();
    if (format == 0) {
        format = ChoosePixelFormat(dc, &descriptor);
        if (format == 0) {
            return {nullptr, GlContextStep::ChooseFormat};
        }
    } else if (DescribePixelFormat(dc, format, sizeof descriptor, &descriptor) == 0) {
        return {nullptr, GlContextStep::DescribeFormat};
    }
    if (!SetPixelFormat(dc, format, &descriptor)) {
        return {nullptr, GlContextStep::SetFormat};
    }
    HGLRC context = wglCreateContext(dc);
    if (context == nullptr) {
        return {nullptr, GlContextStep::CreateContext};
    }
    if (!wglMakeCurrent(dc, context)) {
        wglDeleteContext(context);
        return {nullptr, GlContextStep::MakeCurrent};
    }
    return {context, GlContextStep::None};
}

void DeleteGlContext(HGLRC context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
}

}  // namespace velmora::engine
