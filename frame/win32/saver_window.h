// The saver window: its message handling with the exit rules, the end
// request, closing with the grace period and the Windows 9x password check,
// and the message loop that draws frames between messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/win32/display_mode.h"

namespace velmora {

class SaverApp;

// What a run may replace, for tests: the platform check, the password
// library's name and the display-mode calls.
struct SaverRunOptions {
    std::function<bool()> isNtFamily;  // empty: ask the system
    std::string passwordLibrary;       // empty: the system's password library
    std::string settingsKeyPath;       // empty: the program's own key
    ui::DisplayModeApi displayModes = ui::SystemDisplayModeApi();
};

// State of the window that lives for one run.
struct SaverWindowState {
    SaverApp* app = nullptr;
    bool fullScreen = false;
    bool closeRequested = false;
    bool passwordDialog = false;
    DWORD graceStart = 0;
    int lastMouseX = -1;
    int lastMouseY = -1;
    int mouseMoves = 0;
    SaverRunOptions options;
};

inline constexpr DWORD kGracePeriodMs = 3 * 1000;

SaverWindowState& WindowState();

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the close-requested flag and posts WM_CLOSE.
void RequestEnd(HWND window);

// Accepts at once on the Windows NT family; otherwise asks the password
// library's verification entry point (accepting when it is missing).
bool VerifyPassword(HWND owner);

// Runs until WM_QUIT or a failed frame, drawing a frame when the application
// says one is due and the display's refresh allows, and otherwise waiting
// for messages, the application's wake event or the due moment.
void RunMessageLoop(SaverApp& app, HWND window, HDC dc);

}  // namespace velmora
