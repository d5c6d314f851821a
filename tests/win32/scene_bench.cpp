// Measures the scene while the loader decodes large pictures: the longest
// frame during decoding, and the time from a turn's end to the next picture
// being ready. scene_bench PICTURE [SECONDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/saver_clock.h"
#include "engine/gl_device.h"
#include "scene/cube_scene_runner.h"

int main(int argc, char** argv) {
    using namespace velmora;
    if (argc < 2) {
        std::fprintf(stderr, "usage: scene_bench PICTURE [SECONDS]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 12.0;
    WNDCLASSA wc{};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelmoraSceneBench";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 800,
                                  600, nullptr, nullptr, wc.hInstance, nullptr);

    engine::GlDevice device;
    RandomGenerator random(1);
    scene::CubeSceneRunner runner(device, random);
    settings::CubeSettings settings;
    settings.PictureSeconds = 1;
    settings.RotationSeconds = 1;
    runner.Start(window, settings, {}, {argv[1], argv[1], argv[1]}, false);

    SaverClock clock;
    const double begin = clock.NowMilliseconds();
    double last = begin;
    double longestWhileLoading = 0;
    std::vector<double> frames;
    std::vector<double> readyDelays;
    double turnEnded = -1;
    int turns = 0;
    while (last - begin < seconds * 1000.0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        const bool loading = runner.Scene().loaderState.load() == scene::kLoaderLoading;
        const int faceBefore = runner.Scene().currentFace;
        const double now = clock.NowMilliseconds();
        const float dt = static_cast<float>((now - last) * 0.001);
        last = now;
        runner.Frame(dt, now);
        const double took = clock.NowMilliseconds() - now;
        frames.push_back(took);
        if (loading) {
            longestWhileLoading = std::max(longestWhileLoading, took);
        }
        if (runner.Scene().currentFace != faceBefore) {
            turnEnded = clock.NowMilliseconds();
            ++turns;
        }
        if (turnEnded >= 0 && runner.Scene().ready.load() != 0) {
            readyDelays.push_back(clock.NowMilliseconds() - turnEnded);
            turnEnded = -1;
        }
    }
    runner.Finish();
    DestroyWindow(window);

    std::sort(frames.begin(), frames.end());
    const double median = frames.empty() ? 0 : frames[frames.size() / 2];
    std::printf("frames: %zu, median frame %.1f ms, longest frame %.1f ms\n", frames.size(), median,
                frames.empty() ? 0 : frames.back());
    std::printf("longest frame while the loader decoded: %.1f ms\n", longestWhileLoading);
    std::printf("turns: %d\n", turns);
    for (double delay : readyDelays) {
        std::printf("turn end to next picture ready: %.0f ms\n", delay);
    }
    return 0;
}
