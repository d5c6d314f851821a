// Where a GL context lives when the host is not Win32: the host makes the
// context and its drawable, and GlDevice::Attach takes a GlSurface* as its
// window there.
#pragma once

namespace velmora::engine {

class GlSurface {
public:
    GlSurface() = default;
    GlSurface(const GlSurface&) = delete;
    GlSurface& operator=(const GlSurface&) = delete;
    virtual ~GlSurface() = default;

    // Makes the context current on the calling thread; false when it cannot.
    virtual bool MakeCurrent() = 0;
    // Makes no context current.
    virtual void ReleaseCurrent() = 0;
    // The drawable's size in pixels.
    virtual void Size(int& width, int& height) = 0;
    virtual void SwapBuffers() = 0;
};

}  // namespace velmora::engine
