// What the resolution values of the settings record ask of the display-mode
// switch (ui/win32/display_mode.h) and of the full-screen run.
#pragma once

namespace velmora::settings {

// A width, height or depth of 0 asks for the stored mode back instead of a
// switch; a refresh rate of 0 alone still asks for a switch.
constexpr bool RestoresStoredMode(int width, int height, int bitsPerPixel) {
    return width == 0 || height == 0 || bitsPerPixel == 0;
}

}  // namespace velmora::settings
