// A program that installs the crash filter and fails as named by its first
// argument, for the crash tests. "settings" faults as the settings dialog
// would; every other kind fails during a run that has set the saver-running
// flag, which the filter must give back.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "base/run_mode.h"
#include "diag/desktop_changes.h"
#include "diag/win32/crash_filter.h"

namespace {

void Fault() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}

// A display driver that faults while the mode is restored.
LONG WINAPI FaultingDisplayChange(DEVMODEA*, DWORD) {
    Fault();
    return DISP_CHANGE_FAILED;
}

int Recurse(int depth) {
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    // Deeper than any stack.
    return depth < (1 << 30) ? Recurse(depth + 1) + frame[0] : 0;
}

void FaultTogether() {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const auto faulter = [go] {
        WaitForSingleObject(go, INFINITE);
        Fault();
    };
    std::thread first(faulter);
    std::thread second(faulter);
    Sleep(100);
    SetEvent(go);
    first.join();
    second.join();
}

// Another thread takes the process heap's lock and keeps it.
void LockHeapElsewhere() {
    HANDLE locked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread([locked] {
        HeapLock(GetProcessHeap());
        SetEvent(locked);
        Sleep(INFINITE);
    }).detach();
    WaitForSingleObject(locked, INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    const std::string_view kind = argc > 1 ? argv[1] : "";
    diag::CrashFilterCalls calls;
    if (kind == "in-filter") {
        calls.changeDisplaySettings = FaultingDisplayChange;
    }
    const diag::CrashFilterInstallation crashFilter = diag::InstallCrashFilter(calls);
    Process().runMode = kind == "settings" ? RunMode::Settings : RunMode::FullScreen;
    if (kind != "settings") {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
        diag::RunDesktopChanges().saverRunningFlagSet = true;
        diag::RunDesktopChanges().displayModeSwitched = kind == "in-filter";
    }
    if (kind == "heap-locked") {
        HeapLock(GetProcessHeap());
    } else if (kind == "heap-locked-elsewhere") {
        LockHeapElsewhere();
    } else if (kind == "two-threads") {
        FaultTogether();
    } else if (kind == "throw") {
        throw std::runtime_error("nobody catches this");
    } else if (kind == "stack-overflow") {
        return Recurse(0);
    }
    Fault();
    return 0;
}
