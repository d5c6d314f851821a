// Stands in for a program whose run shows a modal dialog: it ends when the
// dialog is closed, with the dialog's result as its exit code.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return MessageBoxA(nullptr, "A modal dialog that a test closes.", "Modal dialog stand-in",
                       MB_OKCANCEL);
}
