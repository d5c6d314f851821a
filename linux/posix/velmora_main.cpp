// velmora: the cube of pictures as an XScreenSaver GL hack. The host owns
// the window, input, locking and the end; this program draws until SIGTERM.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/saver_clock.h"
#include "engine/gl_device.h"
#include "linux/frame_pacing.h"
#include "linux/host_options.h"
#include "linux/picture_sources.h"
#include "linux/posix/glx_surface.h"
#include "linux/posix/host_signals.h"
#include "linux/posix/image_helper.h"
#include "scene/cube_scene_runner.h"
#include "scene/media_lists.h"
#include "scene/picture_loading.h"
#include "scene/scene_texts.h"

namespace velmora::host {

namespace {

// The first pick of the helper builds its cache of the image folder; later
// picks read the cache.
constexpr int kFirstPickMilliseconds = 5000;
constexpr int kPickMilliseconds = 10000;
// Windows smaller than this (XScreenSaver's settings preview) get the
// preview's small textures.
constexpr int kPreviewWidth = 400;

struct RunPictures {
    PictureSource source = PictureSource::Default;
    std::vector<std::string> list;
    std::unique_ptr<ImageHelper> helper;
};

std::vector<std::string> ScanFolders(const std::vector<std::string>& folders) {
    std::vector<std::string> list;
    const std::vector<std::string> extensions = scene::PictureExtensions();
    for (const std::string& folder : folders) {
        ScanPictureTree(SystemDirectoryLister(), folder, extensions, list);
    }
    return list;
}

RunPictures FindPictures(const HostOptions& options) {
    RunPictures pictures;
    std::vector<std::string> folderList = ScanFolders(options.pictureFolders);
    std::string first;
    bool helperFound = false;
    if (options.pictureFolders.empty()) {
        if (const std::string program = FindImageHelper(); !program.empty()) {
            pictures.helper = std::make_unique<ImageHelper>(program);
            helperFound = pictures.helper->Pick(first, kFirstPickMilliseconds);
        }
    }
    std::vector<std::string> homeList;
    const char* home = std::getenv("HOME");
    if (options.pictureFolders.empty() && !helperFound && home != nullptr) {
        homeList = ScanFolders({std::string(home) + "/Pictures"});
    }
    pictures.source =
        ChoosePictureSource(options, !folderList.empty(), helperFound, !homeList.empty());
    switch (pictures.source) {
        case PictureSource::Folders:
            pictures.list = std::move(folderList);
            break;
        case PictureSource::ImageHelper:
            pictures.list = {first};
            break;
        case PictureSource::HomePictures:
            pictures.list = std::move(homeList);
            break;
        case PictureSource::Default:
            break;
    }
    return pictures;
}

// The loader's work. From a list, a picture that cannot be decoded is passed
// over for the next one (the default picture only when none decodes); from
// the helper, each picture is the helper's next pick.
scene::PictureLoad MakePictureLoad(RunPictures& pictures, scene::CubeScene*& scene) {
    if (pictures.source == PictureSource::ImageHelper) {
        return [&pictures, &scene](engine::Texture* texture) {
            std::string path;
            if (pictures.helper->Pick(path, kPickMilliseconds)) {
                // After the start only the loader reads the list.
                scene->pictureList = {path};
            }
            return scene::LoadNextPicture(*scene, texture, false, ProcessRandom());
        };
    }
    return [&scene](engine::Texture* texture) {
        const std::string defaultName = DecodeText(texts::kDefaultPictureName);
        const std::size_t tries = std::max<std::size_t>(1, scene->pictureList.size());
        HRESULT status = S_OK;
        for (std::size_t i = 0; i < tries && scene->stop.load() == 0; ++i) {
            status = scene::LoadNextPicture(*scene, texture, false, ProcessRandom());
            if (defaultName != texture->Name()) {
                break;
            }
        }
        return status;
    };
}

// Draws a frame, then waits for the next one's moment, taking signals, X
// events and the loader's wake meanwhile; a wake, an advance or a resize
// draws at once. Returns when the host asks for the end.
void RunFrames(GlxSurface& surface, HostSignals& signals, scene::CubeSceneRunner& runner,
               engine::GlDevice& device, const HostOptions& options) {
    SaverClock clock;
    const double tick = options.delayMicroseconds / 1000.0;
    const WakeEvent& loaderWake = runner.Scene().loaderEvent;
    double last = clock.NowMilliseconds();
    for (;;) {
        const double start = clock.NowMilliseconds();
        runner.Frame(static_cast<float>((start - last) * 0.001), start);
        last = start;
        const std::optional<double> due = NextFrameMoment(runner.NextFrameDue(false), start, tick);
        bool drawNow = false;
        while (!drawNow) {
            const double now = clock.NowMilliseconds();
            if (due && now >= *due) {
                break;
            }
            const int wait = due ? static_cast<int>(std::ceil(*due - now)) : -1;
            WaitForInput(signals, surface.ConnectionDescriptor(), loaderWake.ReadableDescriptor(),
                         wait);
            for (HostSignal signal = signals.Take(); signal != HostSignal::None;
                 signal = signals.Take()) {
                if (signal == HostSignal::End) {
                    return;
                }
                runner.HandleKey('A');
                drawNow = true;
            }
            bool resized = false;
            if (!surface.HandleEvents(resized)) {
                return;
            }
            if (resized) {
                device.FitViewportToWindow();
                drawNow = true;
            }
            if (runner.Scene().loaderEvent.Wait(0)) {
                drawNow = true;
            }
        }
    }
}

int Run(const std::vector<std::string>& arguments) {
    // Before any thread starts, so every thread has the signals blocked.
    HostSignals signals;
    HostOptions options;
    std::string error;
    if (FAILED(ParseHostOptions(arguments, options, error))) {
        std::fprintf(stderr, "velmora: %s\n%s", error.c_str(), HostUsage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(HostUsage().c_str(), stdout);
        return 0;
    }
    if (!signals.Valid()) {
        std::fprintf(stderr, "velmora: cannot take signals\n");
        return 1;
    }
    RunPictures pictures = FindPictures(options);
    if (pictures.source == PictureSource::ImageHelper) {
        options.cube.ShufflePictures = 0;  // the helper chooses at random
    }
    GlxSurface surface;
    if (!surface.Open(ChooseWindow(options, std::getenv("XSCREENSAVER_WINDOW")), error)) {
        std::fprintf(stderr, "velmora: %s\n", error.c_str());
        return 1;
    }
    SeedProcessRandomOnce();
    scene::CubeScene* scene = nullptr;
    engine::GlDevice device;
    scene::CubeSceneRunner runner(device, ProcessRandom(), MakePictureLoad(pictures, scene));
    scene = &runner.Scene();
    scene::OverlaySwitches overlays;
    overlays.pictureNames = options.cube.ShowPictureNames == 1;
    overlays.frameRate = options.frameRate;
    overlays.dateTime = options.dateTime;
    int width = 0;
    int height = 0;
    surface.Size(width, height);
    if (FAILED(
            runner.Start(&surface, options.cube, overlays, pictures.list, width < kPreviewWidth))) {
        std::fprintf(stderr, "velmora: cannot start drawing\n");
        return 1;
    }
    RunFrames(surface, signals, runner, device, options);
    if (pictures.helper) {
        pictures.helper->Cancel();
    }
    runner.Finish();
    return 0;
}

}  // namespace

}  // namespace velmora::host

int main(int argc, char** argv) {
    return velmora::host::Run(std::vector<std::string>(argv + 1, argv + argc));
}
