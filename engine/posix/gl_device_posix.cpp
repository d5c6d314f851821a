// The device on a host-made GlSurface (the XScreenSaver host's GLX window);
// natively without one, the device's GL-free parts still build and test.
#include <cmath>
#include <numbers>

#include "engine/gl_api.h"
#include "engine/gl_device.h"
#include "engine/gl_surface.h"

namespace velmora::engine {

HRESULT GlDevice::Attach(void* window) {
    if (window == nullptr) {
        if (!IsAttached()) {
            return S_FALSE;
        }
        static_cast<GlSurface*>(window_)->ReleaseCurrent();
        window_ = nullptr;
        return S_OK;
    }
    auto* surface = static_cast<GlSurface*>(window);
    if (!surface->MakeCurrent()) {
        return E_FAIL;
    }
    window_ = window;
    ApplyFixedState();

    int width = 0;
    int height = 0;
    surface->Size(width, height);
    nearPlane_ = 1.0f;
    farPlane_ = 1000.0f;
    depthBits_ = 32;
    aspect_ = height > 0 ? static_cast<float>(width) / static_cast<float>(height) : 1.0f;
    SetViewport(0, 0, width, height);
    // gluPerspective's frustum, without GLU.
    const double top = nearPlane_ * std::tan(fieldOfView_ * std::numbers::pi / 360.0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-top * aspect_, top * aspect_, -top, top, nearPlane_, farPlane_);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return S_OK;
}

HRESULT GlDevice::FitViewportToWindow() {
    if (!IsAttached()) {
        return E_FAIL;
    }
    int width = 0;
    int height = 0;
    static_cast<GlSurface*>(window_)->Size(width, height);
    return SetViewport(0, 0, width, height);
}

bool SystemSwapInterval(int) {
    return false;
}

HRESULT GlDevice::Present() {
    if (!IsAttached()) {
        return E_FAIL;
    }
    static_cast<GlSurface*>(window_)->SwapBuffers();
    return S_OK;
}

}  // namespace velmora::engine
