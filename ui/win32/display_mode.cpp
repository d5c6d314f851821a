#include "ui/win32/display_mode.h"

#include <cstdio>

#include "settings/display_mode_request.h"

namespace velmora::ui {

namespace {

LONG Change(const DisplayModeApi& api, DEVMODEA* mode, DWORD fields) {
    mode->dmFields = fields;
    return api.changeSettings(mode, CDS_FULLSCREEN);
}

bool Report(const DisplayModeApi& api, LONG result, int width, int height, int bitsPerPixel,
            int frequency) {
    const char* format = nullptr;
    switch (result) {
        case DISP_CHANGE_RESTART:
            format = "You must change your video mode to %dx%dx%d %dHz and then restart\n";
            break;
        case DISP_CHANGE_BADMODE:
            format = "The video mode %dx%dx%d %dHz is not supported\n";
            break;
        case DISP_CHANGE_FAILED:
            format = "Hardware failed to change to %dx%dx%d %dHz\n";
            break;
        default:
            format = "Failed to change to %dx%dx%d %dHz - unknown reason\n";
            break;
    }
    char text[256];
    std::snprintf(text, sizeof text, format, width, height, bitsPerPixel, frequency);
    api.showMessageBox(nullptr, text, "Resolution Switching Error", MB_ICONERROR);
    return false;
}

bool Report(const DisplayModeApi& api, LONG result, const DEVMODEA& mode) {
    return Report(api, result, static_cast<int>(mode.dmPelsWidth),
                  static_cast<int>(mode.dmPelsHeight), static_cast<int>(mode.dmBitsPerPel),
                  static_cast<int>(mode.dmDisplayFrequency));
}

// Each call of the enumeration starts from a fresh record so that nothing of
// an earlier mode is left in it.
bool ReadMode(const DisplayModeApi& api, DWORD index, DEVMODEA* mode) {
    *mode = DEVMODEA{};
    mode->dmSize = sizeof(DEVMODEA);
    return api.enumerateSettings(nullptr, index, mode) != FALSE;
}

bool Matches(const DEVMODEA& mode, int width, int height, int bitsPerPixel, int refreshRate) {
    return static_cast<int>(mode.dmPelsWidth) == width &&
           static_cast<int>(mode.dmPelsHeight) == height &&
           static_cast<int>(mode.dmBitsPerPel) == bitsPerPixel &&
           static_cast<int>(mode.dmDisplayFrequency) == refreshRate;
}

}  // namespace

DisplayModeApi SystemDisplayModeApi() {
    return DisplayModeApi{&EnumDisplaySettingsA, &ChangeDisplaySettingsA, &MessageBoxA};
}

bool SwitchDisplayMode(int width, int height, int bitsPerPixel, int refreshRate,
                       const DisplayModeApi& api) {
    if (settings::RestoresStoredMode(width, height, bitsPerPixel)) {
        // Nothing of a failed switch is left to undo: the failure paths either
        // changed nothing or restored already, so this is always safe.
        api.changeSettings(nullptr, 0);
        return true;
    }

    DEVMODEA found{};
    DWORD index = 0;
    for (;; ++index) {
        if (!ReadMode(api, index, &found)) {
            // The tries below need a real record; without one the saver would
            // switch to whatever mode the enumeration happened to end on.
            return Report(api, DISP_CHANGE_BADMODE, width, height, bitsPerPixel, refreshRate);
        }
        if (Matches(found, width, height, bitsPerPixel, refreshRate)) {
            break;
        }
    }

    DEVMODEA mode = found;
    if (api.changeSettings(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) {
        return true;
    }

    // The frequency is left to the system.
    if (!ReadMode(api, index, &mode)) {
        mode = found;
    }
    if (Change(api, &mode, DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL) ==
        DISP_CHANGE_SUCCESSFUL) {
        return true;
    }

    // Some displays take depth and size only one at a time.
    const LONG depthResult = Change(api, &mode, DM_BITSPERPEL);
    if (depthResult != DISP_CHANGE_SUCCESSFUL) {
        return Report(api, depthResult, mode);
    }
    const LONG sizeResult = Change(api, &mode, DM_PELSWIDTH | DM_PELSHEIGHT);
    if (sizeResult == DISP_CHANGE_SUCCESSFUL) {
        return true;
    }
    api.changeSettings(nullptr, 0);
    return Report(api, sizeResult, mode);
}

}  // namespace velmora::ui
