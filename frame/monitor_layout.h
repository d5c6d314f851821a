// Where the full-screen window lies and where the scene draws in it: without
// a display-mode switch the window spans every monitor, the scene keeps to
// the primary one and the others show the background alone.
#pragma once

#include <optional>
#include <vector>

#include "frame/full_screen_mode.h"
#include "scene/scene_viewports.h"

namespace velmora {

// Virtual-screen coordinates (y grows downwards); right and bottom exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

// What the system reports: the virtual screen and every monitor in it.
struct MonitorSnapshot {
    ScreenRect virtualScreen;
    ScreenRect primary;
    // Every monitor, the primary among them.
    std::vector<ScreenRect> monitors;
};

struct FullScreenLayout {
    ScreenRect window;
    // None: the scene fills the window, as on a single monitor.
    std::optional<scene::SceneViewports> viewports;
};

// screen: the primary screen's size as it is after the request. A request
// (the user's own resolution) keeps to the primary monitor; so does a
// snapshot without a usable primary monitor. Monitors that overlap the
// primary one (mirrored displays) get no background of their own, so nothing
// is drawn over the cube.
FullScreenLayout PlanFullScreenWindow(const std::optional<DisplayModeRequest>& request,
                                      WindowSize screen, const MonitorSnapshot& monitors);

}  // namespace velmora
