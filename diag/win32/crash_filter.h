// The process's last line against unhandled exceptions.
#pragma once

namespace velmora::diag {

// Installed by the entry point before anything else runs.
void InstallCrashFilter();

// Shows the report of the previous run's crash, if one was stored; called
// before the settings dialog opens.
void ShowLastCrash();

}  // namespace velmora::diag
