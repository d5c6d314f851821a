// The change-password run mode: the Windows 9x password library's dialog.
#pragma once

#include <windows.h>

namespace velmora {

// Lets the user change the Windows 9x screen-saver password through the
// system's password library; silently nothing where the library or its entry
// point is missing.
void ChangeScreenSaverPassword(HWND parent);

}  // namespace velmora
