// Not a test: a screenshot of the setup assistant's asking dialog as a BMP
// file in the folder given on the command line. Run without a network
// (scripts/dialog-screenshots.sh uses a namespace of its own), so closing
// the dialog sends nothing anywhere.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "setup/win32/setup_dialog.h"
#include "tests/win32/window_capture.h"

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    // The asking form: no recent asking on record.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quillfen Graphics", 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(key, "ci asked");
        RegCloseKey(key);
    }
    DWORD threadId = 0;
    std::thread dialogThread([&threadId] {
        threadId = GetCurrentThreadId();
        velmora::setup::SetupDialog dialog("");
        dialog.Run(GetModuleHandleA(nullptr));
    });
    HWND dialog = nullptr;
    for (int i = 0; i < 500 && dialog == nullptr; ++i) {
        Sleep(20);
        dialog = FindWindowA("#32770", "Quillfen Graphics");
    }
    bool written = false;
    if (dialog != nullptr) {
        Sleep(500);
        written = velmora::testing::CaptureWindowToBmp(dialog, folder + "\\setup-assistant.bmp");
        // Cancelling reports without contact data; offline, that ends at once.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    std::printf("setup-assistant: %s\n", written ? "written" : "FAILED");
    dialogThread.join();
    return written ? 0 : 1;
}
