#include <windows.h>
// After windows.h, whose types it uses.
#include <vfw.h>

#include "base/win32/wide_text.h"
#include "music/media_window.h"

#include <string>

namespace velmora::music {

namespace {

// A child window without error boxes or menu that reports errors and mode
// changes (and, in ANSI, media changes) to its parent.
constexpr DWORD kStyle = WS_CHILD | MCIWNDF_NOERRORDLG | MCIWNDF_NOTIFYERROR | MCIWNDF_NOTIFYMODE |
                         MCIWNDF_NOTIFYANSI | MCIWNDF_NOMENU;
static_assert(kStyle == 0x40005188);

// The media window's drivers may open the file through the code page (Wine's
// do, by OpenFile): a name the code page cannot hold goes by its short form,
// which names the same file in plain letters. Where the volume keeps no short
// names the long one is all there is.
std::wstring MediaPath(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lost);
    if (!lost) {
        return wide;
    }
    const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (size == 0) {
        return wide;
    }
    std::wstring shortPath(size, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) {
        return wide;
    }
    shortPath.resize(length);
    return shortPath;
}

class SystemWindow final : public MediaWindow {
public:
    WindowHandle Create(WindowHandle parent, const std::string& path,
                        std::uint32_t& error) override {
        HWND window =
            MCIWndCreateW(static_cast<HWND>(parent), nullptr, kStyle, MediaPath(path).c_str());
        if (window == nullptr) {
            error = GetLastError();
            return nullptr;
        }
        // Some implementations make a window with a parent visible whatever
        // the style says; its play bar would cover the saver's picture.
        ShowWindow(window, SW_HIDE);
        return window;
    }

    std::intptr_t Send(WindowHandle window, unsigned message, std::intptr_t lParam) override {
        return SendMessageA(static_cast<HWND>(window), message, 0, lParam);
    }

    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam) override {
        return PostMessageA(static_cast<HWND>(window), message, wParam, 0) != FALSE;
    }
};

}  // namespace

MediaWindow& SystemMediaWindow() {
    static SystemWindow window;
    return window;
}

}  // namespace velmora::music
