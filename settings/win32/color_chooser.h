// The colour chooser of the background colour: Windows' colour dialog, the
// default of the cube pages (settings/win32/cube_pages.h).
#pragma once

#include <windows.h>

namespace velmora::settings {

// ChooseColorA, fully opened, any colour, starting from the given colour
// with 16 black custom colours. Returns the chosen colour, or the starting
// one when the user cancels.
using ColorChooser = COLORREF (*)(HWND owner, COLORREF start);

COLORREF ChooseColorWithSystemDialog(HWND owner, COLORREF start);

}  // namespace velmora::settings
