// What a full-screen run does with the display mode, and how large its window
// is. The switch itself is Win32 (ui/win32/display_mode.h).
#pragma once

#include <optional>

#include "settings/display_mode_request.h"
#include "settings/saver_settings.h"

namespace velmora {

struct DisplayModeRequest {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0;
};

struct WindowSize {
    int width = 0;
    int height = 0;
};

// The mode handed to the switch before the window exists; the run restores the
// stored mode at its end whenever there was one. None when UseOtherResolution
// is off: the display is left alone.
constexpr std::optional<DisplayModeRequest> FullScreenModeRequest(
    const settings::SaverSettings& s) {
    if (s.UseOtherResolution != 1) {
        return std::nullopt;
    }
    return DisplayModeRequest{s.ScreenWidth, s.ScreenHeight, s.ColorDepth, s.RefreshRate};
}

// The window covers the requested size after a switch and the screen (as it
// is after the request) whenever no switch took place, so a request that only
// restores never leaves an empty window.
constexpr WindowSize FullScreenWindowSize(const std::optional<DisplayModeRequest>& request,
                                          WindowSize screen) {
    if (!request ||
        settings::RestoresStoredMode(request->width, request->height, request->bitsPerPixel)) {
        return screen;
    }
    return WindowSize{request->width, request->height};
}

}  // namespace velmora
