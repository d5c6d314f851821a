// Test tool: makes a plain 320 x 240 window of the default visual (or, with
// the argument "root", takes the root window), prints its id, then answers
// "PIXEL x y" with the window's "r g b" there until "QUIT".
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 1;
    }
    const int screen = DefaultScreen(display);
    const bool root = argc > 1 && std::strcmp(argv[1], "root") == 0;
    const Window window = root ? RootWindow(display, screen)
                               : XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                                     320, 240, 0, 0, BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        int x = 0;
        int y = 0;
        if (std::sscanf(line, "PIXEL %d %d", &x, &y) != 2) {
            break;
        }
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image != nullptr ? XGetPixel(image, 0, 0) : 0;
        if (image != nullptr) {
            XDestroyImage(image);
        }
        std::printf("%lu %lu %lu\n", (pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        std::fflush(stdout);
    }
    if (!root) {
        XDestroyWindow(display, window);
    }
    XCloseDisplay(display);
    return 0;
}
