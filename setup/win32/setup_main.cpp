// The setup assistant's entry point. It shares nothing with the saver.
#include <windows.h>

#include "setup/win32/setup_assistant.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return velmora::setup::RunSetupAssistant(instance, commandLine,
                                             &velmora::setup::IsMachineOnline);
}
