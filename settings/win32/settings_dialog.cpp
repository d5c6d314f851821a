#include "settings/win32/settings_dialog.h"

namespace velmora {

// The tabbed dialog comes with the settings dialog's own work; until then the
// settings mode ends at once.
void RunSettingsDialog(SaverApp&, HWND) {}

}  // namespace velmora
