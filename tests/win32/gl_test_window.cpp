// The visible window with a current WGL context (gl_test_window.h).
#include "tests/win32/gl_test_window.h"

#include <GL/gl.h>

namespace velmora::testing {

namespace {

constexpr char kClassName[] = "VelmoraGlTestWindow";

ATOM RegisterTestClass() {
    static ATOM atom = [] {
        WNDCLASSA wc{};
        wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kClassName;
        return RegisterClassA(&wc);
    }();
    return atom;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

GlTestWindow::~GlTestWindow() {
    Destroy();
}

bool GlTestWindow::Fail(const std::string& step) {
    error_ = step + " failed, error " + std::to_string(GetLastError());
    Destroy();
    return false;
}

bool GlTestWindow::Create(int width, int height) {
    width_ = width;
    height_ = height;
    if (RegisterTestClass() == 0) {
        return Fail("RegisterClassA");
    }
    window_ = CreateWindowExA(0, kClassName, "GL test", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr) {
        return Fail("CreateWindowExA");
    }
    PumpMessages();
    dc_ = GetDC(window_);
    if (dc_ == nullptr) {
        return Fail("GetDC");
    }
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    pfd.iLayerType = PFD_MAIN_PLANE;
    const int format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0) {
        return Fail("ChoosePixelFormat");
    }
    if (!SetPixelFormat(dc_, format, &pfd)) {
        return Fail("SetPixelFormat");
    }
    context_ = wglCreateContext(dc_);
    if (context_ == nullptr) {
        return Fail("wglCreateContext");
    }
    if (!wglMakeCurrent(dc_, context_)) {
        return Fail("wglMakeCurrent");
    }
    glViewport(0, 0, width, height);
    return true;
}

void GlTestWindow::Destroy() {
    if (context_ != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        context_ = nullptr;
    }
    if (dc_ != nullptr) {
        ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
        PumpMessages();
    }
}

std::vector<std::uint8_t> GlTestWindow::ReadPixels(int x, int y, int width, int height) const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::array<std::uint8_t, 4> GlTestWindow::ReadPixel(int x, int y) const {
    const std::vector<std::uint8_t> p = ReadPixels(x, y, 1, 1);
    return {p[0], p[1], p[2], p[3]};
}

std::string GlTestWindow::Renderer() const {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer != nullptr ? renderer : "?") + " / " +
           (version != nullptr ? version : "?");
}

}  // namespace velmora::testing
