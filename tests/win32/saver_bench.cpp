// Frames a second and processor use of the full saver run, with the frame
// pacing off and on. saver_bench PICTURE [SECONDS]
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/win32/saver_run.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "registry/win32/win32_registry_store.h"

namespace {

using namespace velmora;

const char kBenchKey[] = "Software\\Quillfen Graphics\\VelmoraBench";

class CountingCubeApp : public CubeSaverApp {
public:
    Status Frame(WindowHandle window, DeviceContextHandle dc) override {
        const double before = lastFrameTime;
        const Status status = CubeSaverApp::Frame(window, dc);
        if (lastFrameTime != before) {
            ++drawn;
        }
        return status;
    }
    std::atomic<int> drawn{0};
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

// preview: inside a 152 × 112 parent, as in the display properties.
void Measure(bool lessProcessor, double seconds, bool preview) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const DWORD value = lessProcessor ? 1 : 0;
    RegSetValueExA(key, "000_012", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);

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
        const int framesBefore = app.drawn.load();
        const double processorBefore = ProcessorSeconds();
        Sleep(static_cast<DWORD>(seconds * 1000));
        drawn = app.drawn.load() - framesBefore;
        processor = ProcessorSeconds() - processorBefore;
        if (preview) {
            PostMessageA(parent, kDestroyYourself, 0, 0);
        } else {
            PostMessageA(window, WM_KEYDOWN, 'X', 0);
        }
    });
    RunSaver(app, parent, SW_SHOW, options);
    driver.join();
    std::printf("%s, less processor %s: %.1f frames a second, processor use %.0f%% of one core\n",
                preview ? "preview    " : "full screen", lessProcessor ? "on " : "off",
                drawn / seconds, 100.0 * processor / seconds);
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
    for (const bool preview : {false, true}) {
        Measure(false, seconds, preview);
        Measure(true, seconds, preview);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
