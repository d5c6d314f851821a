// The colour chooser of the background colour: Windows' colour dialog, or a
// test's stand-in.
#pragma once

#include <windows.h>

namespace velmora::settings {

// ChooseColorA, fully opened, any colour, starting from the given colour
// with 16 black custom colours. Returns the chosen colour, or the starting
// one when the user cancels.
using ColorChooser = COLORREF (*)(HWND owner, COLORREF start);

COLORREF ChooseColorWithSystemDialog(HWND owner, COLORREF start);

// The chooser in use; tests put their own in place and return the previous.
ColorChooser CurrentColorChooser();
ColorChooser SetColorChooserForTesting(ColorChooser chooser);

}  // namespace velmora::settings
