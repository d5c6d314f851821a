#include "diag/win32/gl_strings.h"

#include <GL/gl.h>

#include <vector>

#include "diag/pixel_format_choice.h"

namespace velmora::diag {

namespace {

// Far more formats than any driver offers; ends the enumeration regardless.
constexpr int kMaxFormatsEnumerated = 4096;

PixelFormatTraits Traits(const PIXELFORMATDESCRIPTOR& format) {
    return {format.dwFlags, format.iPixelType, format.cColorBits, format.cDepthBits};
}

std::vector<PixelFormatTraits> DescribeAll(HDC dc) {
    std::vector<PixelFormatTraits> formats;
    PIXELFORMATDESCRIPTOR format{};
    for (int number = 1; number <= kMaxFormatsEnumerated; ++number) {
        if (DescribePixelFormat(dc, number, sizeof format, &format) == 0) {
            break;
        }
        formats.push_back(Traits(format));
    }
    return formats;
}

bool Fail(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK);
    return false;
}

// The best scored format, or the system's choice for a fixed request.
bool SetBestPixelFormat(HDC dc) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    int number = ChooseBestPixelFormat(DescribeAll(dc));
    if (number != 0) {
        if (DescribePixelFormat(dc, number, sizeof format, &format) == 0) {
            return Fail("DescribePixelFormat() failed.");
        }
    } else {
        format.dwFlags =
            PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        format.cDepthBits = 32;
        format.iLayerType = PFD_MAIN_PLANE;
        number = ChoosePixelFormat(dc, &format);
        if (number == 0) {
            return Fail("ChoosePixelFormat() failed.");
        }
    }
    if (!SetPixelFormat(dc, number, &format)) {
        return Fail("SetPixelFormat() failed.");
    }
    return true;
}

std::optional<GlStrings> ReadCurrentStrings() {
    const auto* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (vendor == nullptr || renderer == nullptr || version == nullptr) {
        return std::nullopt;
    }
    return GlStrings{vendor, renderer, version};
}

}  // namespace

std::optional<GlStrings> ReadGlStrings(HWND window) {
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return std::nullopt;
    }
    std::optional<GlStrings> strings;
    if (SetBestPixelFormat(dc)) {
        if (HGLRC context = wglCreateContext(dc)) {
            if (wglMakeCurrent(dc, context)) {
                strings = ReadCurrentStrings();
                wglMakeCurrent(nullptr, nullptr);
            }
            wglDeleteContext(context);
        }
    }
    ReleaseDC(window, dc);
    return strings;
}

}  // namespace velmora::diag
