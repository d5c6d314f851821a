// Tooltips on the list editor's controls and the context-help button that
// shows them at once.
#pragma once

#include <windows.h>

namespace velmora::lists {

// A tooltip window for control id of the dialog, subclassing the control;
// its handle is kept in the control's user data.
void AddTooltip(HWND dialog, int id, const char* text);

// WM_HELP on a control with a tooltip shows the tip at once; the next key
// press or mouse movement outside that control puts the delays back. True
// when the message was a help request it handled.
bool FilterHelpMessage(HWND dialog, UINT message, LPARAM lParam);

}  // namespace velmora::lists
