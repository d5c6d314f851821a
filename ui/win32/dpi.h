// The DPI a window is shown at, and pixel sizes designed at 96 DPI scaled to
// it. The programs declare per-monitor awareness in their manifests; on
// systems older than Windows 10 the system DPI is the answer.
#pragma once

#include <windows.h>

namespace velmora::ui {

inline constexpr unsigned kDesignDpi = 96;

// The window's DPI (GetDpiForWindow, looked up at run time), else the
// screen's logical DPI.
unsigned WindowDpi(HWND window);

// pixelsAt96 at dpi, rounded to the nearest pixel.
inline int ScaleForDpi(int pixelsAt96, unsigned dpi) {
    return MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// The new DPI a WM_DPICHANGED carries.
inline unsigned DpiOfChange(WPARAM wParam) {
    return LOWORD(wParam);
}

}  // namespace velmora::ui
