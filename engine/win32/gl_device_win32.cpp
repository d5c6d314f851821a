// Creating and releasing the device's WGL context, and presenting frames.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/gl_device.h"
#include "engine/win32/gl_context.h"

namespace velmora::engine {

HRESULT GlDevice::Attach(void* window) {
    if (window == nullptr) {
        if (!IsAttached()) {
            return S_FALSE;
        }
        DeleteGlContext(static_cast<HGLRC>(renderContext_));
        ReleaseDC(static_cast<HWND>(window_), static_cast<HDC>(deviceContext_));
        renderContext_ = nullptr;
        deviceContext_ = nullptr;
        window_ = nullptr;
        return S_OK;
    }
    HWND hwnd = static_cast<HWND>(window);
    HDC dc = GetDC(hwnd);
    if (dc == nullptr) {
        return E_FAIL;
    }
    // Without a current context every GL call below would do nothing and the
    // run would show a black screen: the caller ends the run instead.
    const GlContextResult made = MakeCurrentGlContext(dc);
    if (made.context == nullptr) {
        ReleaseDC(hwnd, dc);
        return E_FAIL;
    }
    window_ = window;
    deviceContext_ = dc;
    renderContext_ = made.context;

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

bool SystemSwapInterval(int interval) {
    using SwapIntervalEntry = BOOL(WINAPI*)(int);
    // An extension entry belongs to the current context's driver.
    const auto entry = reinterpret_cast<SwapIntervalEntry>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
    return entry != nullptr && entry(interval) != FALSE;
}

HRESULT GlDevice::Present() {
    wglSwapLayerBuffers(static_cast<HDC>(deviceContext_), WGL_SWAP_MAIN_PLANE);
    return S_OK;
}

}  // namespace velmora::engine
