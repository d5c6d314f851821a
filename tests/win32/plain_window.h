// A visible top-level window with its own device context and no GL yet, for
// tests that attach the device or run the scene on it.
#pragma once

#include <windows.h>

#include "engine/win32/gl_context.h"

namespace velmora::testing {

class PlainWindow {
public:
    PlainWindow(int width, int height) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.style = CS_OWNDC;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "VelmoraPlainTestWindow";
            return RegisterClassA(&wc);
        }();
        (void)atom;
        window_ =
            CreateWindowExA(0, "VelmoraPlainTestWindow", "test", WS_POPUP | WS_VISIBLE, 0, 0, width,
                            height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    ~PlainWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

// Sets a pixel format other than the one the standard request gets: the
// window then refuses the device's (a window keeps its first pixel format).
inline bool TakeOtherPixelFormat(HWND window) {
    HDC dc = GetDC(window);
    PIXELFORMATDESCRIPTOR format = engine::StandardPixelFormatRequest();
    const int other = ChoosePixelFormat(dc, &format) == 1 ? 2 : 1;
    const bool set = DescribePixelFormat(dc, other, sizeof format, &format) != 0 &&
                     SetPixelFormat(dc, other, &format) != FALSE;
    ReleaseDC(window, dc);
    return set;
}

}  // namespace velmora::testing
