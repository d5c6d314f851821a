// The process's last line against unhandled exceptions.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::diag {

// Installed by the entry point before anything else runs.
void InstallCrashFilter();

// Shows the report of an earlier run's crash, if one was stored; called
// before the settings dialog opens. The log stays, so the warning comes back
// until a later crash replaces it.
void ShowLastCrash();

using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ShowLastCrash with the log file and the message box call given.
void ShowCrashLog(const std::string& logPath, MessageBoxFunction showBox);

}  // namespace velmora::diag
