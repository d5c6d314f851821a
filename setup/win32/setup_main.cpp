// The setup assistant's entry point. It shares nothing with the saver and
// ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
