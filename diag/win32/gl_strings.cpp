#include "diag/win32/gl_strings.h"

#include <GL/gl.h>

#include <vector>

#include "diag/pixel_format_choice.h"
#include "engine/win32/gl_context.h"

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

// The steps that tell the user; a context that cannot be made only gives
// the report's error line.
void ShowFailure(engine::GlContextStep step) {
    const char* text = nullptr;
    switch (step) {
        case engine::GlContextStep::ChooseFormat:
            text = "ChoosePixelFormat() failed.";
            break;
        case engine::GlContextStep::DescribeFormat:
            text = "DescribePixelFormat() failed.";
            break;
        case engine::GlContextStep::SetFormat:
            text = "SetPixelFormat() failed.";
            break;
        default:
            return;
    }
    MessageBoxA(nullptr, text, "Error", MB_OK);
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
    // The best scored format, else the system's choice for the standard request.
    const engine::GlContextResult made =
        engine::MakeCurrentGlContext(dc, ChooseBestPixelFormat(DescribeAll(dc)));
    std::optional<GlStrings> strings;
    if (made.context != nullptr) {
        strings = ReadCurrentStrings();
        engine::DeleteGlContext(made.context);
    } else {
        ShowFailure(made.failed);
    }
    ReleaseDC(window, dc);
    return strings;
}

}  // namespace velmora::diag
