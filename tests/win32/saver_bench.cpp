// Frames a second and processor use of the full saver run, with the frame
// pacing off and on. saver_bench PICTURE [SECONDS]
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "frame/cube_saver_app.h"
#include "frame/frame_texts.h"
#include "frame/run_mode.h"
#include "frame/win32/saver_run.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "settings/win32/win32_registry_store.h"

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

class NoReporter : public lists::RegistryErrorReporter {
public:
    void Report(settings::RegistryError) override {}
};

double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

void Measure(bool lessProcessor, double seconds) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const DWORD value = lessProcessor ? 1 : 0;
    RegSetValueExA(key, "000_012", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);

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
        PostMessageA(window, WM_KEYDOWN, 'X', 0);
    });
    RunSaver(app, nullptr, SW_SHOW, options);
    driver.join();
    std::printf("less processor %s: %.1f frames a second, processor use %.0f%% of one core\n",
                lessProcessor ? "on " : "off", drawn / seconds, 100.0 * processor / seconds);
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
    lists::SaveList(settings::SystemRegistry(), settings::RegistryRoot::CurrentUser,
                    lists::PictureListKeyPath(kBenchKey), pictures, reporter);
    Process().runMode = RunMode::FullScreen;
    Measure(false, seconds);
    Measure(true, seconds);
    RegDeleteTreeA(HKEY_CURRENT_USER, kBenchKey);
    return 0;
}
