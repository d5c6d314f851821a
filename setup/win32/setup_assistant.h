// The setup assistant's run: the dialog when the machine is online, nothing
// otherwise.
#pragma once

#include <windows.h>

namespace velmora::setup {

using ConnectedStateCheck = bool (*)();

// Whether the system reports a connection to the Internet.
bool IsMachineOnline();

// Online: runs the dialog, keeping the command line (null counts as empty)
// as the extra query text of the report. Offline: ends at once without any
// window. Always 0.
int RunSetupAssistant(HINSTANCE instance, const char* commandLine, ConnectedStateCheck isOnline);

}  // namespace velmora::setup
