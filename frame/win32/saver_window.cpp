#include "frame/win32/saver_window.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <cmath>
#include <optional>

#include "base/saver_clock.h"
#include "base/win32/library_entry.h"
#include "frame/frame_pacing.h"
#include "frame/frame_texts.h"
#include "frame/saver_app.h"

namespace velmora {

namespace {

using VerifyEntry = BOOL(WINAPI*)(HWND owner);

bool SystemIsNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return !GetVersionExA(&version) || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool NoPasswordDialog() {
    return !WindowState().passwordDialog;
}

void OnClose(HWND window) {
    SaverWindowState& state = WindowState();
    if (!state.closeRequested || state.passwordDialog) {
        return;
    }
    if (GetTickCount() - state.graceStart > kGracePeriodMs) {
        state.passwordDialog = true;
        SendMessageA(window, WM_SETCURSOR, 0, 0);
        const bool accepted = VerifyPassword(window);
        state.passwordDialog = false;
        SendMessageA(window, WM_SETCURSOR, 0, 0);
        if (accepted) {
            DestroyWindow(window);
        }
        return;
    }
    DestroyWindow(window);
}

// A message's own result; empty when the default procedure handles it too.
using Handled = std::optional<LRESULT>;

Handled OnPaint(SaverApp* app, HWND window) {
    if (app == nullptr || app->notStarted != 0) {
        return 0;
    }
    app->paused = 0;
    HDC dc = GetDC(window);
    app->Paint(window, dc);
    ReleaseDC(window, dc);
    return std::nullopt;
}

// More than five moves to new places end the run, so a slight nudge does not.
void OnMouseMove(SaverApp* app, HWND window, LPARAM lParam) {
    SaverWindowState& state = WindowState();
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (x == state.lastMouseX && y == state.lastMouseY) {
        return;
    }
    state.lastMouseX = x;
    state.lastMouseY = y;
    if (++state.mouseMoves > 5) {
        if (app != nullptr) {
            app->paused = 0;
        }
        RequestEnd(window);
    }
}

// 1 and 2 ask for low power and off; anything else turns the display on.
void OnMonitorPower(SaverApp* app, LPARAM lParam) {
    if (app == nullptr) {
        return;
    }
    if (lParam == 1 || lParam == 2) {
        app->paused = 1;
        app->OnDisplayPowerDown();
    } else {
        app->paused = 0;
    }
}

// A full-screen saver ignores commands that would close it, switch away or start a saver.
Handled OnSysCommand(SaverApp* app, WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFF0) {
        case SC_CLOSE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_SCREENSAVE:
            return 0;
        case SC_MONITORPOWER:
            OnMonitorPower(app, lParam);
            break;
        default:
            break;
    }
    return std::nullopt;
}

Handled HandleMessage(SaverApp* app, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverWindowState& state = WindowState();
    // Input ends a full-screen run unless the password dialog is asking.
    const bool exitRules = state.fullScreen && NoPasswordDialog();
    switch (message) {
        case WM_CREATE:
            state.graceStart = GetTickCount();
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_PAINT:
            return OnPaint(app, window);
        case WM_ACTIVATE:
        case WM_ACTIVATEAPP:
            if (exitRules && wParam == 0) {
                RequestEnd(window);
            }
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (exitRules) {
                RequestEnd(window);
            }
            break;
        case WM_MOUSEMOVE:
            if (exitRules) {
                OnMouseMove(app, window, lParam);
            }
            break;
        case WM_SETCURSOR:
            if (exitRules) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_CLOSE:
            if (state.fullScreen) {
                OnClose(window);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            return state.fullScreen ? OnSysCommand(app, wParam, lParam) : std::nullopt;
        case WM_APP:
            return VerifyPassword(window) ? 1 : 0;
        default:
            break;
    }
    return std::nullopt;
}

// The refresh rate of the monitor that shows the window, as its current
// display mode reports it (0 when it cannot be read).
int MonitorRefreshHertz(HWND window) {
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    const char* device = GetMonitorInfoA(monitor, &info) ? info.szDevice : nullptr;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    const auto enumerate = WindowState().options.displayModes.enumerateSettings;
    if (enumerate == nullptr || !enumerate(device, ENUM_CURRENT_SETTINGS, &mode)) {
        return 0;
    }
    return static_cast<int>(mode.dmDisplayFrequency);
}

// Dispatches what waits; false at WM_QUIT.
bool DispatchWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// Until a message comes, the wake event is signalled or the time has passed.
void WaitForInputOrFrame(double milliseconds, void* wakeEvent) {
    const DWORD timeout =
        milliseconds == kNeverMilliseconds ? INFINITE : static_cast<DWORD>(std::ceil(milliseconds));
    HANDLE handles[1] = {static_cast<HANDLE>(wakeEvent)};
    MsgWaitForMultipleObjectsEx(wakeEvent != nullptr ? 1 : 0, handles, timeout, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

// Sleeping to the next refresh tick needs the fine system timer; asked for
// only then, and given back when the loop ends.
class FineTimer {
public:
    FineTimer() = default;
    FineTimer(const FineTimer&) = delete;
    FineTimer& operator=(const FineTimer&) = delete;
    ~FineTimer() {
        if (held_) {
            timeEndPeriod(1);
        }
    }
    void Hold() {
        if (!held_) {
            held_ = timeBeginPeriod(1) == TIMERR_NOERROR;
        }
    }

private:
    bool held_ = false;
};

}  // namespace

SaverWindowState& WindowState() {
    static SaverWindowState state;
    return state;
}

void RequestEnd(HWND window) {
    WindowState().closeRequested = true;
    PostMessageA(window, WM_CLOSE, 0, 0);
}

bool VerifyPassword(HWND owner) {
    const SaverRunOptions& options = WindowState().options;
    const bool nt = options.isNtFamily ? options.isNtFamily() : SystemIsNtFamily();
    if (nt) {
        return true;
    }
    const std::string name = options.passwordLibrary.empty()
                                 ? DecodeText(texts::kPasswordVerifyLibrary)
                                 : options.passwordLibrary;
    HMODULE library = LoadLibraryA(name.c_str());
    if (library == nullptr) {
        return true;
    }
    const std::string entryName = DecodeText(texts::kPasswordVerifyEntry);
    const auto entry = FindLibraryEntry<VerifyEntry>(library, entryName.c_str());
    const bool accepted = entry == nullptr || entry(owner) != FALSE;
    FreeLibrary(library);
    return accepted;
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SaverApp* app = WindowState().app;
    if (app != nullptr && app->MessageHook(window, message, wParam, lParam) == 1) {
        return 1;
    }
    if (app != nullptr) {
        // Every message that the hook leaves passes to the update checker.
        app->updateChecker.HandleMessage(window, message, wParam, lParam);
    }
    const Handled handled = HandleMessage(app, window, message, wParam, lParam);
    return handled ? *handled : DefWindowProcA(window, message, wParam, lParam);
}

void RunMessageLoop(SaverApp& app, HWND window, HDC dc) {
    const double refreshInterval = RefreshIntervalMilliseconds(MonitorRefreshHertz(window));
    SaverClock clock;
    FineTimer fineTimer;
    SwapWaitCheck swapCheck;
    double lastDrawn = -kNeverMilliseconds;
    bool lastMoving = false;
    while (DispatchWaitingMessages()) {
        if ((app.paused != 0 && app.saverSettings.DisplayPowerDown == 1) || app.notStarted != 0) {
            WaitMessage();
            continue;
        }
        const double now = clock.NowMilliseconds();
        FrameSchedule next = app.NextFrame(now);
        next.swapWaits = swapCheck.SwapWaits(next.swapWaits);
        const double drawAt = DrawMoment(next, lastDrawn, refreshInterval);
        if (drawAt > now) {
            if (!next.swapWaits && next.moving) {
                fineTimer.Hold();
            }
            WaitForInputOrFrame(drawAt - now, next.wakeEvent);
            continue;
        }
        // Only frames that follow moving frames tell how the swap paces.
        if (next.swapWaits && next.moving && lastMoving) {
            swapCheck.NoteFrame(now - lastDrawn, next.refreshTicks, refreshInterval);
        }
        lastDrawn = now;
        lastMoving = next.moving;
        if (FAILED(app.Frame(window, dc))) {
            return;
        }
    }
}

}  // namespace velmora
