// A program that installs the crash filter and faults, for the crash tests.
// "settings" crashes as the settings dialog would, anything else as a run.
#include <windows.h>

#include <cstring>

#include "base/run_mode.h"
#include "diag/win32/crash_filter.h"

int main(int argc, char** argv) {
    using namespace velmora;
    diag::InstallCrashFilter();
    const bool settings = argc > 1 && std::strcmp(argv[1], "settings") == 0;
    Process().runMode = settings ? RunMode::Settings : RunMode::FullScreen;
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
