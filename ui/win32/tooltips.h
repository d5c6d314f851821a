// Tooltips and the help display of the settings dialog and the list editor:
// the context-help button shows a control's tip at once.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::ui {

// A tooltip owned by the control, wrapping at 300 pixels and staying up 30
// seconds, whose handle the control keeps in its user data.
void AddTooltip(HWND page, int controlId, const std::string& text);

// Looks at every message of the dialog and its pages (window) first. WM_HELP for a control of the
// current page that has a tooltip shows the tip at once and returns true;
// afterwards a key or a mouse move outside that control puts the tip back
// to its usual delays.
bool FilterHelpMessage(HWND window, HWND currentPage, UINT message, LPARAM lParam);

// The control whose tip the help display shows, or null.
HWND HelpDisplayControl();

// Forgets the help display (the dialog has ended).
void ResetHelpDisplay();

}  // namespace velmora::ui
