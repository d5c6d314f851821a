// Frames a second, processor use and the longest wait between frames that
// should follow one refresh tick apart (during turns, and while the loader
// decodes) of whole saver runs: default settings, less processor, the
// "Bouncing" style and the preview. saver_bench PICTURE [SECONDS]
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_pacing.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "registry/win32/win32_registry_store.h"
#include "scene/frame_schedule.h"

namespace {

using namespace velmora;

const char kBenchKey[] = "Software\\Quillfen Graphics\\VelmoraBench";

// Counts frames and keeps the longest gap before a frame that was due one
// schedule step (refresh ticks) after the one before: during a turn, and
// while the loader decodes.
class CountingCubeApp : public CubeSaverApp {
public:
    Status Frame(WindowHandle window, DeviceContextHandle dc) override {
        const double now = clock.NowMilliseconds();
        const scene::CubeScene& state = scene.Scene();
        if (measuring && lastFrameTime >= 0 && scene::SceneMoves(state)) {
            const double gap = now - lastFrameTime;
            if (state.timer > 0) {
                longestTurnGap = std::max(longestTurnGap, gap);
                ++turnFrames;
                lateTurnFrames += gap > lateGap ? 1 : 0;
            }
            if (state.loaderState.load() == scene::kLoaderLoading) {
                longestLoadingGap = std::max(longestLoadingGap, gap);
            }
        }
        ++drawn;
        return CubeSaverApp::Frame(window, dc);
    }
    std::atomic<int> drawn{0};
    std::atomic<bool> measuring{false};
    double longestTurnGap = 0;
    double longestLoadingGap = 0;
    // Later than 1.5 schedule steps after the frame before.
    double lateGap = 1e9;
    int turnFrames = 0;
    int lateTurnFrames = 0;
};

class NoReporter : public registry::RegistryErrorReporter {
public:
    void Report(registry::RegistryError) override {}
};

double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

constexpr UINT kDestroyYourself = WM_USER + 7;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDestroyYourself) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

double RefreshInterval() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return RefreshIntervalMilliseconds(static_cast<int>(mode.dmDisplayFrequency));
}

struct RunKind {
    const char* label;
    bool lessProcessor;
    DWORD style;
    bool preview;  // inside a 152 × 112 parent, as in the display properties
};

void Store(const char* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void Measure(const RunKind& kind, double seconds) {
    const bool preview = kind.preview;
    Store("000_012", kind.lessProcessor ? 1 : 0);
    Store("000_101", kind.style);

    Process().runMode = preview ? RunMode::Preview : RunMode::FullScreen;
    HWND parent = nullptr;
    if (preview) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VelmoraBenchParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 152,
                                 112, nullptr, nullptr, wc.hInstance, nullptr);
    }
    CountingCubeApp app;
    const double step = RefreshInterval() * (kind.lessProcessor ? 2 : 1);
    app.lateGap = 1.5 * step;
    SaverRunOptions options;
    options.settingsKeyPath = kBenchKey;
    int drawn = 0;
    double processor = 0;
    std::thread driver([&] {
        const std::string className = DecodeText(texts::kWindowClass);
        const std::string title = DecodeText(texts::kWindowTitle);
        HWND window = nullptr;
        for (int i = 0;
             i < 2000 && (window = FindWindowA(className.c_str(), title.c_str())) == nullptr; ++i) {
            Sleep(10);
        }
        Sleep(1000);
        app.measuring = true;
        const int framesBefore = app.drawn.load();
        const double processorBefore = ProcessorSeconds();
        Sleep(static_cast<DWORD>(seconds * 1000));
        drawn = app.drawn.load() - framesBefore;
        processor = ProcessorSeconds() - processorBefore;
        app.measuring = false;
        if (preview) {
            PostMessageA(parent, kDestroyYourself, 0, 0);
        } else {
            PostMessageA(window, WM_KEYDOWN, 'X', 0);
        }
    });
    RunSaver(app, parent, SW_SHOW, options);
    driver.join();
    // The longest gaps in schedule steps: refresh ticks, two with less processor.
    std::printf(
        "%-22s %5.1f frames a second, processor %3.0f%% of one core; longest gap in a turn "
        "%.2f steps (%d of %d turn frames later than 1.5), while decoding %.2f steps "
        "(step %.1f ms)\n",
        kind.label, drawn / seconds, 100.0 * processor / seconds, app.longestTurnGap / step,
        app.lateTurnFrames, app.turnFrames, app.longestLoadingGap / step, step);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: saver_bench PICTURE [SECONDS]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;
    RegDeleteTreeA(HKEY_CURRENT_USER, kBenchKey);
    NoReporter reporter;
    const std::vector<std::string> pictures = {argv[1]};
    lists::SaveList(registry::SystemRegistry(), registry::RegistryRoot::CurrentUser,
                    lists::PictureListKeyPath(kBenchKey), pictures, reporter);
    const RunKind kinds[] = {
        {"full screen, default", false, 0, false},
        {"full screen, less cpu", true, 0, false},
        {"full screen, Bouncing", false, 3, false},
        {"preview, default", false, 0, true},
    };
    for (const RunKind& kind : kinds) {
        Measure(kind, seconds);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
