#include "diag/win32/crash_filter.h"

#include <windows.h>

namespace velmora::diag {

namespace {

// Ends the process without the system's own error report.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashFilter() {
    SetUnhandledExceptionFilter(CrashFilter);
}

void ShowLastCrash() {}

}  // namespace velmora::diag
