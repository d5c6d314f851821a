// The modal settings dialog of the settings mode.
#pragma once

#include <windows.h>

#include "ui/win32/display_mode.h"

namespace velmora {

class SaverApp;

namespace registry {
class RegistryStore;
}

// Runs dialog 106 with the given parent; every message of the dialog and of
// its pages goes to the application's settings-dialog handler. The settings
// are read from and written to the store (the system registry unless given);
// the display page lists the modes the display-mode calls enumerate.
// Returns the dialog's result: 1 "OK", 2 "Cancel" or closed, 0 when the user
// went to the download page of a newer release.
INT_PTR RunSettingsDialog(SaverApp& app, HWND parent);
INT_PTR RunSettingsDialog(SaverApp& app, HWND parent, registry::RegistryStore& store,
                          const ui::DisplayModeApi& displayModes = ui::SystemDisplayModeApi());

}  // namespace velmora
