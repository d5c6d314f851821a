#include "settings/win32/settings_dialog.h"

namespace velmora {

// Shows no dialog: the settings mode ends at once.
void RunSettingsDialog(SaverApp&, HWND) {}

}  // namespace velmora
