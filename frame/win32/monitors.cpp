#include "frame/win32/monitors.h"

#include <windows.h>

namespace velmora {

namespace {

ScreenRect FromRect(const RECT& rect) {
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK NoteMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorSnapshot& snapshot = *reinterpret_cast<MonitorSnapshot*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        snapshot.monitors.push_back(FromRect(info.rcMonitor));
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            snapshot.primary = FromRect(info.rcMonitor);
        }
    }
    return TRUE;
}

}  // namespace

MonitorSnapshot ReadMonitors() {
    MonitorSnapshot snapshot;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    snapshot.virtualScreen = ScreenRect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EnumDisplayMonitors(nullptr, nullptr, NoteMonitor, reinterpret_cast<LPARAM>(&snapshot));
    return snapshot;
}

}  // namespace velmora
