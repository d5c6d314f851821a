// Switches the display to the saver's chosen mode and back.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::ui {

// The system calls the switch and the display page make: the run and the
// settings dialog are handed them when made, the system's by default.
struct DisplayModeApi {
    BOOL(WINAPI* enumerateSettings)(LPCSTR device, DWORD modeIndex, DEVMODEA* mode);
    LONG(WINAPI* changeSettings)(DEVMODEA* mode, DWORD flags);
    int(WINAPI* showMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

// EnumDisplaySettingsA, ChangeDisplaySettingsA and MessageBoxA.
DisplayModeApi SystemDisplayModeApi();

// With a width, height or bits per pixel of 0: returns the display to the mode
// stored in the registry and returns true. Otherwise switches to the enumerated
// mode with exactly these values (trying again without the frequency, then
// depth and size apart); on failure shows an error box and returns false. A
// mode the display does not enumerate is reported as not supported.
bool SwitchDisplayMode(int width, int height, int bitsPerPixel, int refreshRate,
                       const DisplayModeApi& api = SystemDisplayModeApi());

}  // namespace velmora::ui
