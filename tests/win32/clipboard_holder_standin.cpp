// Stands in for another program that holds the clipboard open: it puts its
// own text there, sets the event "VelmoraClipboardHeld" and keeps the
// clipboard until "VelmoraClipboardRelease" is set (at most 20 s).
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr || !OpenClipboard(window)) {
        return 1;
    }
    static const char kText[] = "held by another program";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof kText);
    std::memcpy(GlobalLock(block), kText, sizeof kText);
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    const HANDLE held = CreateEventA(nullptr, TRUE, FALSE, "VelmoraClipboardHeld");
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "VelmoraClipboardRelease");
    SetEvent(held);
    WaitForSingleObject(release, 20000);
    CloseClipboard();
    CloseHandle(release);
    CloseHandle(held);
    DestroyWindow(window);
    return 0;
}
