#include "frame/win32/saver_run.h"

#include <optional>
#include <string>

#include "base/run_mode.h"
#include "base/saver_clock.h"
#include "diag/desktop_changes.h"
#include "frame/frame_texts.h"
#include "frame/full_screen_mode.h"
#include "frame/monitor_layout.h"
#include "frame/saver_app.h"
#include "frame/win32/monitors.h"
#include "registry/win32/win32_registry_store.h"
#include "settings/cube_settings.h"
#include "settings/settings_storage.h"
#include "ui/win32/display_mode.h"

namespace velmora {

namespace {

constexpr int kIconResource = 100;

enum class RunKind { FullScreen, Preview };
enum class ModeChange { Kept, Switched };

// What one run holds from reading the settings to restoring the system.
struct SaverRun {
    SaverApp& app;
    const SaverRunOptions& options;
    RunKind kind;
    std::string className;
    std::string title;
    std::string keyPath;
    SaverClock clock;
    double startTime = 0;
    HINSTANCE instance = nullptr;
    ModeChange modeChange = ModeChange::Kept;

    bool FullScreen() const { return kind == RunKind::FullScreen; }
};

// Where and how the saver window is created.
struct WindowPlacement {
    HWND parent = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;
};

std::string LoadRunSettings(SaverApp& app, const SaverRunOptions& options) {
    app.SetDefaults(nullptr, 0);
    const std::string keyPath =
        options.settingsKeyPath.empty() ? settings::SettingsKeyPath() : options.settingsKeyPath;
    if (!app.LoadSettings(registry::SystemRegistry(), nullptr, keyPath)) {
        // No key: defaults, and lists from the user's folders.
        app.TransferSettings(nullptr, false, nullptr, settings::kSaverGroup,
                             settings::kCubeFirstIndex);
    }
    return keyPath;
}

void StartWindowState(const SaverRun& run) {
    SaverWindowState& state = WindowState();
    state = SaverWindowState{};
    state.app = &run.app;
    state.fullScreen = run.FullScreen();
    state.options = run.options;
}

HINSTANCE ProgramInstance() {
    HINSTANCE instance = static_cast<HINSTANCE>(Process().instance);
    return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

// The class name points into the run, which outlives the class.
WNDCLASSA SaverWindowClass(const SaverRun& run) {
    WNDCLASSA wc{};
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SaverWindowProc;
    wc.hInstance = run.instance;
    wc.hIcon = LoadIconA(run.instance, MAKEINTRESOURCEA(kIconResource));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = run.className.c_str();
    return wc;
}

std::optional<WindowPlacement> PlaceInPreview(HWND previewParent) {
    if (previewParent == nullptr || !IsWindow(previewParent)) {
        return std::nullopt;
    }
    RECT client{};
    GetClientRect(previewParent, &client);
    WindowPlacement placement;
    placement.parent = previewParent;
    placement.width = client.right - client.left;
    placement.height = client.bottom - client.top;
    placement.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    placement.title = DecodeText(texts::kPreviewTitle);
    return placement;
}

// A saver already running comes to the front instead of a second one.
std::optional<WindowPlacement> PlaceFullScreen(const SaverRun& run) {
    HWND running = FindWindowA(run.className.c_str(), run.title.c_str());
    if (running != nullptr && IsWindow(running)) {
        SetForegroundWindow(running);
        return std::nullopt;
    }
    WindowPlacement placement;
    placement.style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    placement.exStyle = WS_EX_TOPMOST;
    placement.title = run.title;
    return placement;
}

bool RegisterSaverClass(const WNDCLASSA& wc) {
    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        MessageBoxA(nullptr, DecodeText(texts::kRegisterFailedText).c_str(),
                    DecodeText(texts::kRegisterFailedCaption).c_str(), MB_ICONWARNING);
        return false;
    }
    return true;
}

// Switches to the chosen display mode and sizes the window over the screen.
// The warning that follows a failed switch, shown through the same calls as
// the switch's own error box.
void ShowSwitchFailedWarning(const SaverRun& run, HWND owner) {
    run.options.displayModes.showMessageBox(owner, DecodeText(texts::kModeSwitchFailedText).c_str(),
                                            run.title.c_str(), MB_ICONWARNING);
}

bool PrepareFullScreen(SaverRun& run, HWND previewParent, WindowPlacement& placement) {
    const std::optional<DisplayModeRequest> request = FullScreenModeRequest(run.app.saverSettings);
    if (request && !ui::SwitchDisplayMode(request->width, request->height, request->bitsPerPixel,
                                          request->refreshRate, run.options.displayModes)) {
        ShowSwitchFailedWarning(run, previewParent);
        return false;
    }
    run.modeChange = request ? ModeChange::Switched : ModeChange::Kept;
    // The crash filter gives back what the run changed.
    diag::RunDesktopChanges().displayModeSwitched = request.has_value();
    // The screen is read after the request, which may have changed it.
    const FullScreenLayout layout = PlanFullScreenWindow(
        request, WindowSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        ReadMonitors());
    placement.x = layout.window.left;
    placement.y = layout.window.top;
    placement.width = layout.window.Width();
    placement.height = layout.window.Height();
    run.app.monitorViewports = layout.viewports;
    return true;
}

void RestoreDisplayMode(const SaverRun& run) {
    if (run.modeChange == ModeChange::Switched) {
        ui::SwitchDisplayMode(0, 0, 0, 0, run.options.displayModes);
        diag::RunDesktopChanges().displayModeSwitched = false;
    }
}

// Ends a run: the device context back, the system's saver flag cleared and
// the display mode restored.
void RestoreSystem(const SaverRun& run, HWND window, HDC dc) {
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
    if (run.FullScreen()) {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        diag::RunDesktopChanges().saverRunningFlagSet = false;
        RestoreDisplayMode(run);
    }
}

HWND CreateSaverWindow(const SaverRun& run, const WindowPlacement& placement) {
    HWND window =
        CreateWindowExA(placement.exStyle, run.className.c_str(), placement.title.c_str(),
                        placement.style, placement.x, placement.y, placement.width,
                        placement.height, placement.parent, nullptr, run.instance, nullptr);
    if (window == nullptr) {
        MessageBoxA(nullptr, DecodeText(texts::kCreateFailedText).c_str(),
                    DecodeText(texts::kCreateFailedCaption).c_str(), MB_ICONWARNING);
    }
    return window;
}

void MarkSaverRunning(const SaverRun& run, HWND window) {
    Process().saverWindow = window;
    if (run.FullScreen()) {
        diag::RunDesktopChanges().saverRunningFlagSet = true;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    }
}

// Shows the started window, draws until it ends and records the run time.
void ShowAndRun(SaverRun& run, HWND window, HDC dc, int showCommand) {
    SaverApp& app = run.app;
    app.notStarted = 0;
    if (run.FullScreen()) {
        SetForegroundWindow(window);
    }
    ShowWindow(window, showCommand);
    if (run.FullScreen()) {
        app.updateChecker.Arm(window, app.saverSettings.DisableAutoUpdate != 1, run.keyPath);
    }
    RunMessageLoop(app, window, dc);
    app.Finish(window, dc);
    RestoreSystem(run, window, dc);
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
    const double seconds = (run.clock.NowMilliseconds() - run.startTime) * 0.001;
    settings::AddTotalRunSeconds(registry::SystemRegistry(), run.keyPath,
                                 static_cast<float>(seconds));
}

void RunCreatedWindow(SaverRun& run, HWND window, int showCommand) {
    MarkSaverRunning(run, window);
    HDC dc = GetDC(window);
    if (FAILED(run.app.Start(window, dc))) {
        RestoreSystem(run, window, dc);
        DestroyWindow(window);
    } else {
        ShowAndRun(run, window, dc, showCommand);
    }
    // A window destroyed after a failed start or frame leaves its WM_QUIT.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Process().saverWindow = nullptr;
}

// Runs with the window class registered; a failed step has already shown
// its warning.
void RunRegistered(SaverRun& run, HWND previewParent, int showCommand, WindowPlacement& placement) {
    if (run.FullScreen() && !PrepareFullScreen(run, previewParent, placement)) {
        return;
    }
    run.app.paused = 1;
    HWND window = CreateSaverWindow(run, placement);
    if (window == nullptr) {
        RestoreDisplayMode(run);
        return;
    }
    RunCreatedWindow(run, window, showCommand);
}

void RunWindow(SaverRun& run, HWND previewParent, int showCommand) {
    const WNDCLASSA wc = SaverWindowClass(run);
    std::optional<WindowPlacement> placement =
        run.FullScreen() ? PlaceFullScreen(run) : PlaceInPreview(previewParent);
    if (!placement || !RegisterSaverClass(wc)) {
        return;
    }
    RunRegistered(run, previewParent, showCommand, *placement);
    UnregisterClassA(run.className.c_str(), run.instance);
}

}  // namespace

void RunSaver(SaverApp& app, HWND previewParent, int showCommand) {
    RunSaver(app, previewParent, showCommand, SaverRunOptions{});
}

void RunSaver(SaverApp& app, HWND previewParent, int showCommand, const SaverRunOptions& options) {
    SaverRun run{
        .app = app,
        .options = options,
        .kind = Process().runMode == RunMode::Preview ? RunKind::Preview : RunKind::FullScreen,
        .className = DecodeText(texts::kWindowClass),
        .title = DecodeText(texts::kWindowTitle),
        .keyPath = LoadRunSettings(app, options),
        .clock = SaverClock{},
    };
    run.startTime = run.clock.NowMilliseconds();
    app.BeforeWindow();
    StartWindowState(run);
    run.instance = ProgramInstance();
    RunWindow(run, previewParent, showCommand);
    WindowState() = SaverWindowState{};
}

}  // namespace velmora
