#pragma once

#include <windows.h>

namespace velmora {

class SaverApp;

// Runs the modal settings dialog with the given parent.
void RunSettingsDialog(SaverApp& app, HWND parent);

}  // namespace velmora
