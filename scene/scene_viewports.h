// Where a frame draws inside the saver's window when the window spans
// several monitors.
#pragma once

#include <vector>

namespace velmora::scene {

// A rectangle of the window in GL's window coordinates: pixels from the
// bottom left corner.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Viewport&) const = default;
};

// The whole scene (background, cube, glass, overlays) in one viewport; only
// the background in each of the others.
struct SceneViewports {
    Viewport scene;
    std::vector<Viewport> backgroundOnly;
};

}  // namespace velmora::scene
