#include "settings/win32/dialog_pages.h"

#include <commctrl.h>

namespace velmora::settings {

namespace {

constexpr DWORD kEnableTab = 0x00000006;  // ETDT_ENABLETAB

using EnableThemeDialogTextureFunction = HRESULT(WINAPI*)(HWND, DWORD);

EnableThemeDialogTextureFunction ThemeTexture() {
    // Loaded once and kept for the process: pages keep calling into it.
    static const EnableThemeDialogTextureFunction function = [] {
        HMODULE library = LoadLibraryA("uxtheme.dll");
        return library != nullptr
                   ? reinterpret_cast<EnableThemeDialogTextureFunction>(reinterpret_cast<void*>(
                         GetProcAddress(library, "EnableThemeDialogTexture")))
                   : nullptr;
    }();
    return function;
}

}  // namespace

void GiveTabBackground(HWND window) {
    if (const EnableThemeDialogTextureFunction enable = ThemeTexture()) {
        enable(window, kEnableTab);
    }
}

void AddPage(PageTable& table, int resourceId, const std::string& caption) {
    if (table.count >= kMaxPages) {
        return;
    }
    HWND dialog = static_cast<HWND>(table.dialog);
    HWND page =
        CreateDialogParamA(static_cast<HINSTANCE>(table.instance), MAKEINTRESOURCEA(resourceId),
                           dialog, reinterpret_cast<DLGPROC>(table.procedure), 0);
    if (page == nullptr) {
        return;
    }
    SetWindowPos(page, HWND_TOP, 10, 30, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string text = caption.substr(0, kMaxCaptionLength);
    item.pszText = text.data();
    SendMessageA(static_cast<HWND>(table.tabControl), TCM_INSERTITEMA, table.count,
                 reinterpret_cast<LPARAM>(&item));
    table.Add(page, caption);
    GiveTabBackground(page);
}

void SelectPage(PageTable& table, int index) {
    SendMessageA(static_cast<HWND>(table.tabControl), TCM_SETCURSEL, index, 0);
    if (HWND current = PageWindow(table, table.current)) {
        ShowWindow(current, SW_HIDE);
    }
    table.current = index;
    if (HWND page = PageWindow(table, index)) {
        ShowWindow(page, SW_SHOW);
    }
}

}  // namespace velmora::settings
