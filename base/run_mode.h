// The process-wide run mode and the values that live beside it.
#pragma once

#include "base/handles.h"

namespace velmora {

class SaverApp;

enum class RunMode : int {
    Settings = 1,
    ChangePassword = 2,
    Preview = 3,
    FullScreen = 4,
};

// Set once by the entry point (the saver window by the saver run) and read
// everywhere else; all on the main thread.
struct ProcessValues {
    RunMode runMode = RunMode::Settings;
    void* instance = nullptr;  // HINSTANCE of the module
    SaverApp* app = nullptr;
    WindowHandle saverWindow = nullptr;
};

ProcessValues& Process();

}  // namespace velmora
