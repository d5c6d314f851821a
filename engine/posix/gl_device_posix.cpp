// Natively there is no window system to make a context on: the device can
// be built and its GL-free parts used, but it never attaches.
#include "engine/gl_device.h"

namespace velmora::engine {

HRESULT GlDevice::Attach(void* window) {
    if (window == nullptr) {
        return IsAttached() ? S_OK : S_FALSE;
    }
    return E_NOTIMPL;
}

HRESULT GlDevice::FitViewportToWindow() {
    return E_FAIL;
}

HRESULT GlDevice::Present() {
    return E_NOTIMPL;
}

}  // namespace velmora::engine
