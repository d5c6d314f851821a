#include "frame/monitor_layout.h"

#include <algorithm>

namespace velmora {

namespace {

ScreenRect Intersection(const ScreenRect& a, const ScreenRect& b) {
    return ScreenRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
}

ScreenRect Union(const ScreenRect& a, const ScreenRect& b) {
    if (a.Empty()) {
        return b;
    }
    if (b.Empty()) {
        return a;
    }
    return ScreenRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

// GL counts rows from the window's bottom edge.
scene::Viewport ViewportIn(const ScreenRect& window, const ScreenRect& area) {
    return scene::Viewport{area.left - window.left, window.bottom - area.bottom, area.Width(),
                           area.Height()};
}

ScreenRect SpannedArea(const MonitorSnapshot& snapshot) {
    ScreenRect area = snapshot.virtualScreen;
    for (const ScreenRect& monitor : snapshot.monitors) {
        area = Union(area, monitor);
    }
    return area;
}

}  // namespace

FullScreenLayout PlanFullScreenWindow(const std::optional<DisplayModeRequest>& request,
                                      WindowSize screen, const MonitorSnapshot& monitors) {
    const WindowSize size = FullScreenWindowSize(request, screen);
    const FullScreenLayout primaryOnly{ScreenRect{0, 0, size.width, size.height}, std::nullopt};
    if (request) {
        return primaryOnly;
    }
    const ScreenRect window = SpannedArea(monitors);
    const ScreenRect primary = Intersection(monitors.primary, window);
    if (window.Empty() || primary.Empty() || primary == window) {
        return primaryOnly;
    }
    scene::SceneViewports viewports;
    viewports.scene = ViewportIn(window, primary);
    for (const ScreenRect& monitor : monitors.monitors) {
        const ScreenRect area = Intersection(monitor, window);
        if (!area.Empty() && Intersection(area, primary).Empty()) {
            viewports.backgroundOnly.push_back(ViewportIn(window, area));
        }
    }
    return FullScreenLayout{window, viewports};
}

}  // namespace velmora
