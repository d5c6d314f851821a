// The display page's resolution, colour-depth and refresh-rate lists, filled
// from the display modes that the display-mode calls enumerate.
#pragma once

#include <windows.h>

#include "settings/saver_settings.h"
#include "ui/win32/display_mode.h"

namespace velmora::settings {

// Refills the resolution list, enabled only while the other resolution is
// on; while it is off or incomplete the settings take the current mode.
void FillResolutions(HWND page, SaverSettings& settings, const ui::DisplayModeApi& modes);

// Refills the colour depths and refresh rates of the stored size and stores
// the selected ones (through the page's own selection-change handling).
void FillModeDetails(HWND page, SaverSettings& settings, const ui::DisplayModeApi& modes);

// A selection change of one of the three lists; other notifications and
// controls are ignored.
void ModeListChanged(HWND page, int controlId, int notification, SaverSettings& settings,
                     const ui::DisplayModeApi& modes);

}  // namespace velmora::settings
