#include "setup/win32/setup_assistant.h"

#include <wininet.h>

#include "setup/win32/setup_dialog.h"

namespace velmora::setup {

bool IsMachineOnline() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

int RunSetupAssistant(HINSTANCE instance, const char* commandLine, ConnectedStateCheck isOnline) {
    if (!isOnline()) {
        return 0;
    }
    SetupDialog dialog(commandLine != nullptr ? commandLine : "");
    dialog.Run(instance);
    return 0;
}

}  // namespace velmora::setup
