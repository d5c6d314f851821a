#include "frame/win32/saver_run.h"

#include <optional>
#include <string>

#include "base/saver_clock.h"
#include "diag/desktop_changes.h"
#include "frame/frame_texts.h"
#include "frame/full_screen_mode.h"
#include "frame/monitor_layout.h"
#include "frame/run_mode.h"
#include "frame/saver_app.h"
#include "frame/win32/display_mode.h"
#include "frame/win32/monitors.h"
#include "settings/cube_settings.h"
#include "settings/settings_storage.h"
#include "settings/win32/win32_registry_store.h"

namespace velmora {

namespace {

constexpr int kIconResource = 100;

// Ends a run: the device context back, the system's saver flag cleared and
// the display mode restored.
void RestoreSystem(HWND window, HDC dc, bool fullScreen, bool switchedMode) {
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    if (fullScreen) {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        diag::RunDesktopChanges().saverRunningFlagSet = false;
        if (switchedMode) {
            SwitchDisplayMode(0, 0, 0, 0);
            diag::RunDesktopChanges().displayModeSwitched = false;
        }
    }
}

}  // namespace

void RunSaver(SaverApp& app, HWND previewParent, int showCommand) {
    RunSaver(app, previewParent, showCommand, SaverRunOptions{});
}

void RunSaver(SaverApp& app, HWND previewParent, int showCommand, const SaverRunOptions& options) {
    const bool preview = Process().runMode == RunMode::Preview;
    const std::string className = DecodeText(texts::kWindowClass);
    const std::string title = DecodeText(texts::kWindowTitle);

    app.SetDefaults(nullptr, 0);
    const std::string keyPath =
        options.settingsKeyPath.empty() ? settings::SettingsKeyPath() : options.settingsKeyPath;
    if (!app.LoadSettings(settings::SystemRegistry(), nullptr, keyPath)) {
        // No key: defaults, and lists from the user's folders.
        app.TransferSettings(nullptr, false, nullptr, settings::kSaverGroup,
                             settings::kCubeFirstIndex);
    }
    SaverClock clock;
    const double startTime = clock.NowMilliseconds();
    app.BeforeWindow();

    SaverWindowState& state = WindowState();
    state = SaverWindowState{};
    state.app = &app;
    state.fullScreen = !preview;
    state.options = options;

    HINSTANCE instance = static_cast<HINSTANCE>(Process().instance);
    if (instance == nullptr) {
        instance = GetModuleHandleA(nullptr);
    }
    WNDCLASSA wc{};
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SaverWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = className.c_str();

    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string windowTitle = title;
    bool switchedMode = false;
    if (preview) {
        if (previewParent == nullptr || !IsWindow(previewParent)) {
            state = SaverWindowState{};
            return;
        }
        RECT client{};
        GetClientRect(previewParent, &client);
        parent = previewParent;
        width = client.right - client.left;
        height = client.bottom - client.top;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        windowTitle = DecodeText(texts::kPreviewTitle);
    } else {
        HWND running = FindWindowA(className.c_str(), title.c_str());
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            state = SaverWindowState{};
            return;
        }
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
    }

    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        MessageBoxA(nullptr, DecodeText(texts::kRegisterFailedText).c_str(),
                    DecodeText(texts::kRegisterFailedCaption).c_str(), MB_ICONWARNING);
        state = SaverWindowState{};
        return;
    }

    if (!preview) {
        const std::optional<DisplayModeRequest> request = FullScreenModeRequest(app.saverSettings);
        if (request && !SwitchDisplayMode(request->width, request->height, request->bitsPerPixel,
                                          request->refreshRate)) {
            ShowSwitchFailedWarning(previewParent, title);
            UnregisterClassA(className.c_str(), instance);
            state = SaverWindowState{};
            return;
        }
        switchedMode = request.has_value();
        // The crash filter gives back what the run changed.
        diag::RunDesktopChanges().displayModeSwitched = switchedMode;
        // The screen is read after the request, which may have changed it.
        const FullScreenLayout layout = PlanFullScreenWindow(
            request, WindowSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
            ReadMonitors());
        x = layout.window.left;
        y = layout.window.top;
        width = layout.window.Width();
        height = layout.window.Height();
        app.monitorViewports = layout.viewports;
    }

    app.paused = 1;
    HWND window = CreateWindowExA(exStyle, className.c_str(), windowTitle.c_str(), style, x, y,
                                  width, height, parent, nullptr, instance, nullptr);
    if (window == nullptr) {
        MessageBoxA(nullptr, DecodeText(texts::kCreateFailedText).c_str(),
                    DecodeText(texts::kCreateFailedCaption).c_str(), MB_ICONWARNING);
        if (switchedMode) {
            SwitchDisplayMode(0, 0, 0, 0);
            diag::RunDesktopChanges().displayModeSwitched = false;
        }
        UnregisterClassA(className.c_str(), instance);
        state = SaverWindowState{};
        return;
    }
    Process().saverWindow = window;
    if (!preview) {
        diag::RunDesktopChanges().saverRunningFlagSet = true;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    }

    HDC dc = GetDC(window);
    if (FAILED(app.Start(window, dc))) {
        RestoreSystem(window, dc, !preview, switchedMode);
        DestroyWindow(window);
    } else {
        app.notStarted = 0;
        if (!preview) {
            SetForegroundWindow(window);
        }
        ShowWindow(window, showCommand);
        if (!preview) {
            app.updateChecker.Arm(window, app.saverSettings.DisableAutoUpdate != 1, keyPath);
        }
        RunMessageLoop(app, window, dc);
        app.Finish(window, dc);
        RestoreSystem(window, dc, !preview, switchedMode);
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        const double seconds = (clock.NowMilliseconds() - startTime) * 0.001;
        settings::AddTotalRunSeconds(settings::SystemRegistry(), keyPath,
                                     static_cast<float>(seconds));
    }
    // A window destroyed after a failed start or frame leaves its WM_QUIT.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Process().saverWindow = nullptr;
    UnregisterClassA(className.c_str(), instance);
    state = SaverWindowState{};
}

}  // namespace velmora
