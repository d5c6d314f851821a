#include "lists/win32/editor_tooltips.h"

#include <commctrl.h>

namespace velmora::lists {

namespace {

constexpr int kTipWidth = 300;
constexpr int kTipShownMilliseconds = 30000;

// The control whose tip the help button brought up; one per thread, as only
// one dialog of the thread can be in front.
thread_local HWND helpControl = nullptr;

HWND TooltipOf(HWND control) {
    return reinterpret_cast<HWND>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void RestoreDelays(HWND tooltip) {
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, -1);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMilliseconds);
}

}  // namespace

void AddTooltip(HWND dialog, int id, const char* text) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return;
    }
    const HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "Tooltip",
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control,
                                         nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tooltip == nullptr) {
        return;
    }
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMilliseconds);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = static_cast<UINT_PTR>(id);
    GetClientRect(control, &tool.rect);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(tooltip));
}

bool FilterHelpMessage(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_HELP) {
        const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
        const auto control = static_cast<HWND>(help->hItemHandle);
        if (help->iContextType != HELPINFO_WINDOW || GetParent(control) != dialog) {
            return false;
        }
        const HWND tooltip = TooltipOf(control);
        if (tooltip == nullptr) {
            return false;
        }
        SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 0);
        SendMessageA(tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 0);
        SendMessageA(tooltip, TTM_ACTIVATE, TRUE, 0);
        helpControl = control;
        return true;
    }
    if (helpControl == nullptr) {
        return false;
    }
    const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (key || message == WM_MOUSEMOVE) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (key || WindowFromPoint(cursor) != helpControl) {
            RestoreDelays(TooltipOf(helpControl));
            helpControl = nullptr;
        }
    }
    return false;
}

}  // namespace velmora::lists
