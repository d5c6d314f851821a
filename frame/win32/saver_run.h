#pragma once

#include <windows.h>

namespace velmora {

class SaverApp;

// Runs the saver full screen or inside the preview parent.
void RunSaver(SaverApp& app, HWND previewParent, int showCommand);

}  // namespace velmora
