// The screen saver's entry point: command line to run mode, one application
// object, dispatch, clean-up.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <new>

#include "base/random.h"
#include "base/run_mode.h"
#include "diag/win32/crash_filter.h"
#include "frame/command_line.h"
#include "frame/cube_saver_app.h"
#include "frame/win32/password_change.h"
#include "frame/win32/saver_run.h"
#include "settings/win32/cube_pages.h"
#include "settings/win32/settings_dialog.h"

namespace {

HWND WindowFromNumber(std::int64_t number) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(number));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace velmora;

    const diag::CrashFilterInstallation crashFilter = diag::InstallCrashFilter();
    InitCommonControls();
    Process().instance = instance;
    SeedProcessRandomOnce();

    const char* line = GetCommandLineA();
    const ParsedCommandLine parsed = ParseCommandLine(line != nullptr ? line : "");
    Process().runMode = parsed.mode;
    HWND window =
        parsed.useForegroundWindow ? GetForegroundWindow() : WindowFromNumber(parsed.window);

    auto* app = new (std::nothrow) CubeSaverApp(settings::Win32CubePages());
    if (app == nullptr) {
        MessageBoxA(window, "The main object could not be created.", "Out of memory", MB_OK);
        return static_cast<int>(E_OUTOFMEMORY);
    }
    Process().app = app;

    switch (parsed.mode) {
        case RunMode::ChangePassword:
            ChangeScreenSaverPassword(window);
            break;
        case RunMode::Settings:
            diag::ShowLastCrash();
            RunSettingsDialog(*app, window);
            break;
        case RunMode::Preview:
        case RunMode::FullScreen:
            RunSaver(*app, window, showCommand);
            break;
    }

    Process().app = nullptr;
    delete app;
    return 0;
}
