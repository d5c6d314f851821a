// The GLX drawable of the hack: the window XScreenSaver gives, a child of it
// with a suitable visual, or a window of its own.
#pragma once

#include <memory>
#include <string>

#include "engine/gl_surface.h"
#include "linux/picture_sources.h"

namespace velmora::host {

class GlxSurface final : public engine::GlSurface {
public:
    GlxSurface();
    ~GlxSurface() override;

    // Opens the display ($DISPLAY) and makes the context for the window
    // choice; false with error set when it cannot.
    bool Open(const WindowChoice& choice, std::string& error);
    // The display connection's descriptor, for waiting on events.
    int ConnectionDescriptor() const;
    // Takes the pending events: the drawable follows a resize of the given
    // window; false when the window went away or the user closed the own one.
    bool HandleEvents(bool& resized);

    bool MakeCurrent() override;
    void ReleaseCurrent() override;
    void Size(int& width, int& height) override;
    void SwapBuffers() override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora::host
