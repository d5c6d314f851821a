// Creating and releasing the device's WGL context, and presenting frames.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/gl_device.h"

namespace velmora::engine {

HRESULT GlDevice::Attach(void* window) {
    if (window == nullptr) {
        if (!IsAttached()) {
            return S_FALSE;
        }
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(static_cast<HGLRC>(renderContext_));
        ReleaseDC(static_cast<HWND>(window_), static_cast<HDC>(deviceContext_));
        renderContext_ = nullptr;
        deviceContext_ = nullptr;
        window_ = nullptr;
        return S_OK;
    }
    HWND hwnd = static_cast<HWND>(window);
    window_ = window;
    HDC dc = GetDC(hwnd);
    deviceContext_ = dc;

    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags =
        PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd);
    HGLRC context = wglCreateContext(dc);
    renderContext_ = context;
    wglMakeCurrent(dc, context);

    ApplyFixedState();

    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    nearPlane_ = 1.0f;
    farPlane_ = 1000.0f;
    depthBits_ = 32;
    aspect_ = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    SetViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView_, aspect_, nearPlane_, farPlane_);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return S_OK;
}

HRESULT GlDevice::FitViewportToWindow() {
    if (!IsAttached()) {
        return E_FAIL;
    }
    RECT client{};
    GetClientRect(static_cast<HWND>(window_), &client);
    return SetViewport(0, 0, client.right - client.left, client.bottom - client.top);
}

HRESULT GlDevice::Present() {
    wglSwapLayerBuffers(static_cast<HDC>(deviceContext_), WGL_SWAP_MAIN_PLANE);
    return S_OK;
}

}  // namespace velmora::engine
