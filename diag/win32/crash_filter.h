// The process's last line against unhandled exceptions and uncaught C++
// exceptions.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::diag {

using ChangeDisplayFunction = LONG(WINAPI*)(DEVMODEA* mode, DWORD flags);

// The system calls of the filter a test may replace; the system's own by
// default.
struct CrashFilterCalls {
    ChangeDisplayFunction changeDisplaySettings = &ChangeDisplaySettingsA;
};

// Keeps the filter ready for the whole run: its file names, texts and dump
// thread are made before any fault, so a crashed process needs neither the
// heap nor the loader lock to give the desktop back. Ending it ends the parked
// dump thread; the filter stays installed (a later fault is reported without
// a dump).
class CrashFilterInstallation {
public:
    CrashFilterInstallation() = default;
    CrashFilterInstallation(const CrashFilterInstallation&) = delete;
    CrashFilterInstallation& operator=(const CrashFilterInstallation&) = delete;
    ~CrashFilterInstallation();
};

// Installed by the entry point before anything else runs.
[[nodiscard]] CrashFilterInstallation InstallCrashFilter(const CrashFilterCalls& calls = {});

// Shows the report of an earlier run's crash, if one was stored; called
// before the settings dialog opens. The log stays, so the warning comes back
// until a later crash replaces it.
void ShowLastCrash();

using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// ShowLastCrash with the log file (UTF-8) and the message box call given.
void ShowCrashLog(const std::string& logPath, MessageBoxFunction showBox);

}  // namespace velmora::diag
