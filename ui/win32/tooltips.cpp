#include "ui/win32/tooltips.h"

#include <commctrl.h>

#include "ui/win32/dpi.h"

namespace velmora::ui {

namespace {

constexpr int kTipWidth = 300;  // at 96 DPI
constexpr int kTipShownMs = 30000;

HWND& HelpControl() {
    static HWND control = nullptr;
    return control;
}

HWND TipOf(HWND control) {
    return reinterpret_cast<HWND>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// Back to the automatic delays.
void EndHelpDisplay() {
    HWND control = HelpControl();
    HelpControl() = nullptr;
    if (HWND tip = TipOf(control)) {
        SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, -1);
        SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMs);
    }
}

void ShowAtOnce(HWND control, HWND tip) {
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 0);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_RESHOW, 0);
    SendMessageA(tip, TTM_ACTIVATE, TRUE, 0);
    // The pointer rests on the control it clicked with the help cursor: the
    // tip starts from there without waiting for the next move.
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(control, &cursor);
    MSG move{control,
             WM_MOUSEMOVE,
             0,
             MAKELPARAM(cursor.x, cursor.y),
             static_cast<DWORD>(GetMessageTime()),
             {}};
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    HelpControl() = control;
}

bool OutsideHelpControl(HWND window, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &point);
    RECT rect{};
    GetWindowRect(HelpControl(), &rect);
    return PtInRect(&rect, point) == FALSE;
}

}  // namespace

void AddTooltip(HWND page, int controlId, const std::string& text) {
    HWND control = GetDlgItem(page, controlId);
    if (control == nullptr) {
        return;
    }
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "Tooltip",
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (tip == nullptr) {
        return;
    }
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kTipWidth, WindowDpi(page)));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMs);
    std::string buffer = text;
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = static_cast<UINT_PTR>(controlId);
    GetClientRect(control, &tool.rect);
    tool.lpszText = buffer.data();
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tip));
}

bool FilterHelpMessage(HWND window, HWND currentPage, UINT message, LPARAM lParam) {
    if (message == WM_HELP) {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info == nullptr || info->iContextType != HELPINFO_WINDOW) {
            return false;
        }
        HWND control = static_cast<HWND>(info->hItemHandle);
        HWND tip = TipOf(control);
        if (currentPage == nullptr || GetParent(control) != currentPage || tip == nullptr) {
            return false;
        }
        if (HelpControl() != nullptr && HelpControl() != control) {
            EndHelpDisplay();
        }
        ShowAtOnce(control, tip);
        return true;
    }
    if (HelpControl() == nullptr) {
        return false;
    }
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN ||
        (message == WM_MOUSEMOVE && OutsideHelpControl(window, lParam))) {
        EndHelpDisplay();
    }
    return false;
}

HWND HelpDisplayControl() {
    return HelpControl();
}

void ResetHelpDisplay() {
    HelpControl() = nullptr;
}

}  // namespace velmora::ui
