#include "ui/win32/dpi.h"

#include "base/win32/library_entry.h"

namespace velmora::ui {

unsigned WindowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    // Windows 10 1607 and later; the lookup is made once for the process.
    static const GetDpiForWindowCall call =
        FindLibraryEntry<GetDpiForWindowCall>(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    if (call != nullptr && window != nullptr) {
        if (const UINT dpi = call(window); dpi != 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<unsigned>(dpi) : kDesignDpi;
}

}  // namespace velmora::ui
