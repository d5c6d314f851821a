#include "settings/win32/dialog_pages.h"

#include <commctrl.h>

#include "ui/win32/dpi.h"

namespace velmora::settings {

namespace {

constexpr DWORD kEnableTab = 0x00000006;  // ETDT_ENABLETAB
// Where a page lies in the main dialog, in pixels at 96 DPI.
constexpr int kPageLeft = 10;
constexpr int kPageTop = 30;

void PlacePage(HWND page, unsigned dpi) {
    SetWindowPos(page, HWND_TOP, ui::ScaleForDpi(kPageLeft, dpi), ui::ScaleForDpi(kPageTop, dpi), 0,
                 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

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
    PlacePage(page, ui::WindowDpi(dialog));
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string text = caption.substr(0, kMaxCaptionLength);
    item.pszText = text.data();
    SendMessageA(static_cast<HWND>(table.tabControl), TCM_INSERTITEMA, table.count,
                 reinterpret_cast<LPARAM>(&item));
    table.Add(page, caption);
    GiveTabBackground(page);
}

void PlacePages(const PageTable& table, unsigned dpi) {
    for (int index = 0; index < table.count; ++index) {
        PlacePage(PageWindow(table, index), dpi);
    }
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
