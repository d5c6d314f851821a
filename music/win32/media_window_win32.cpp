#include <windows.h>
// After windows.h, whose types it uses.
#include <vfw.h>

#include "base/win32/wide_text.h"
#include "music/media_window.h"

namespace velmora::music {

namespace {

// A child window without error boxes or menu that reports errors and mode
// changes (and, in ANSI, media changes) to its parent.
constexpr DWORD kStyle = WS_CHILD | MCIWNDF_NOERRORDLG | MCIWNDF_NOTIFYERROR | MCIWNDF_NOTIFYMODE |
                         MCIWNDF_NOTIFYANSI | MCIWNDF_NOMENU;
static_assert(kStyle == 0x40005188);

class SystemWindow final : public MediaWindow {
public:
    WindowHandle Create(WindowHandle parent, const std::string& path,
                        std::uint32_t& error) override {
        HWND window =
            MCIWndCreateW(static_cast<HWND>(parent), nullptr, kStyle, WideFromUtf8(path).c_str());
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
