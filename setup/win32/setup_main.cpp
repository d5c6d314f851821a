// The setup assistant's entry point. It shares nothing with the saver; the
// contact form and the installation report come with the assistant's own work.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
