// Switches the display to the saver's chosen mode and back.
#pragma once

#include <windows.h>

#include <string>

namespace velmora {

// The system calls the switch makes; tests put their own in place.
struct DisplayModeApi {
    BOOL(WINAPI* enumerateSettings)(LPCSTR device, DWORD modeIndex, DEVMODEA* mode);
    LONG(WINAPI* changeSettings)(DEVMODEA* mode, DWORD flags);
    int(WINAPI* showMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

// EnumDisplaySettingsA, ChangeDisplaySettingsA and MessageBoxA.
DisplayModeApi SystemDisplayModeApi();

// The calls in use: the system's unless a test has put its own in place.
const DisplayModeApi& CurrentDisplayModeApi();

// Replaces the calls in use and returns the ones it replaced.
DisplayModeApi SetDisplayModeApiForTesting(const DisplayModeApi& api);

// Puts the given calls in place for its lifetime.
class ScopedDisplayModeApiForTesting {
public:
    explicit ScopedDisplayModeApiForTesting(const DisplayModeApi& api)
        : previous_(SetDisplayModeApiForTesting(api)) {}
    ~ScopedDisplayModeApiForTesting() { SetDisplayModeApiForTesting(previous_); }
    ScopedDisplayModeApiForTesting(const ScopedDisplayModeApiForTesting&) = delete;
    ScopedDisplayModeApiForTesting& operator=(const ScopedDisplayModeApiForTesting&) = delete;

private:
    DisplayModeApi previous_;
};

// With a width, height or bits per pixel of 0: returns the display to the mode
// stored in the registry and returns true. Otherwise switches to the enumerated
// mode with exactly these values (trying again without the frequency, then
// depth and size apart); on failure shows an error box and returns false. A
// mode the display does not enumerate is reported as not supported.
bool SwitchDisplayMode(int width, int height, int bitsPerPixel, int refreshRate);

}  // namespace velmora
