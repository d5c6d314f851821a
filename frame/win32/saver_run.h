// The full-screen and preview runs of the saver: window, display mode,
// message loop and the system restored at the end.
#pragma once

#include <windows.h>

#include "frame/win32/saver_window.h"

namespace velmora {

class SaverApp;

// Runs the saver full screen or inside the preview parent, from reading the
// settings to restoring the system at the end.
void RunSaver(SaverApp& app, HWND previewParent, int showCommand);
void RunSaver(SaverApp& app, HWND previewParent, int showCommand, const SaverRunOptions& options);

}  // namespace velmora
