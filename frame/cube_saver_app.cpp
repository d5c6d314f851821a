#include "frame/cube_saver_app.h"

#include <algorithm>
#include <utility>

#include "base/directory_listing.h"
#include "base/run_mode.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "scene/media_lists.h"
#include "settings/settings_storage.h"

namespace velmora {

namespace {

constexpr unsigned kKeyDown = 0x0100;  // WM_KEYDOWN

}  // namespace

CubeSaverApp::CubeSaverApp(settings::CubePages cubePages, CubeSaverServices services)
    : SaverApp(services.app),
      scene(device, ProcessRandom(), std::move(services.pictureLoad)),
      cubePages_(std::move(cubePages)) {}

CubeSaverApp::~CubeSaverApp() {
    scene.Finish();
}

Status CubeSaverApp::Start(WindowHandle window, DeviceContextHandle) {
    SeedProcessRandomOnce();
    scene::OverlaySwitches overlays;
    overlays.pictureNames = cubeSettings.ShowPictureNames == 1;
    overlays.frameRate = saverSettings.ShowFrameRate == 1;
    overlays.dateTime = saverSettings.ShowDateTime == 1;
    scene.SetViewports(monitorViewports);
    const Status status = scene.Start(window, cubeSettings, overlays, pictureList,
                                      Process().runMode == RunMode::Preview);
    if (SUCCEEDED(status)) {
        swapWaits_ = SUCCEEDED(device.SetSwapInterval(1));
        swapTicks_ = 1;
    }
    return status;
}

FrameSchedule CubeSaverApp::NextFrame(double nowMilliseconds) {
    FrameSchedule schedule;
    schedule.swapWaits = swapWaits_;
    schedule.wakeEvent = scene.Scene().loaderEvent.NativeHandle();
    if (lastFrameTime < 0 || redrawOwed_) {
        schedule.dueMilliseconds = nowMilliseconds;
        return schedule;
    }
    const scene::FrameDue due = scene.NextFrameDue(saverSettings.LessProcessor == 1);
    switch (due.wait) {
        case scene::FrameWait::Tick:
            schedule.dueMilliseconds = lastFrameTime;
            schedule.refreshTicks = due.ticks;
            schedule.moving = true;
            break;
        case scene::FrameWait::Moment:
            schedule.dueMilliseconds = lastFrameTime + due.seconds * 1000.0;
            break;
        case scene::FrameWait::Event:
            schedule.dueMilliseconds = kNeverMilliseconds;
            break;
    }
    scheduledTicks_ = schedule.refreshTicks;
    // A resting cube still owes the music its start.
    if (!musicStart.Started() && firstFrameTime_ >= 0 && Process().runMode != RunMode::Preview) {
        schedule.dueMilliseconds =
            std::min(schedule.dueMilliseconds, firstFrameTime_ + music::kStartDelayMs + 5.0);
    }
    return schedule;
}

Status CubeSaverApp::Paint(WindowHandle, DeviceContextHandle) {
    redrawOwed_ = true;
    return S_OK;
}

Status CubeSaverApp::Frame(WindowHandle window, DeviceContextHandle) {
    const double now = clock.NowMilliseconds();
    if (lastFrameTime < 0) {
        lastFrameTime = now;
        firstFrameTime_ = now;
    }
    const double dt = (now - lastFrameTime) * 0.001;
    redrawOwed_ = false;
    // Every other refresh while moving with less processor use.
    if (swapWaits_ && scheduledTicks_ != swapTicks_) {
        device.SetSwapInterval(scheduledTicks_);
        swapTicks_ = scheduledTicks_;
    }
    lastFrameTime = clock.NowMilliseconds();
    const Status status = scene.Frame(static_cast<float>(dt), lastFrameTime);
    if (musicStart.Due(lastFrameTime)) {
        StartMusic(window);
    }
    return status;
}

void CubeSaverApp::StartMusic(WindowHandle window) {
    if (Process().runMode != RunMode::Preview) {
        musicPlayer.Start(window, cubeSettings.ShuffleMusic == 1);
    }
}

Status CubeSaverApp::Finish(WindowHandle, DeviceContextHandle) {
    return scene.Finish();
}

void CubeSaverApp::ResizeViewport(WindowHandle) {
    device.FitViewportToWindow();
    redrawOwed_ = true;
}

int CubeSaverApp::MessageHook(WindowHandle, unsigned message, MessageParam wParam,
                              MessageLParam lParam) {
    if (message == kKeyDown && scene.HandleKey(static_cast<unsigned>(wParam))) {
        return 1;
    }
    return musicPlayer.HandleMessage(message, wParam, lParam);
}

void CubeSaverApp::OnDisplayPowerDown() {
    musicPlayer.StopForRun();
}

void CubeSaverApp::TransferSettings(WindowHandle, bool write, registry::RegistryKey* key, int group,
                                    int firstIndex) {
    if (key == nullptr) {
        // The settings key could not be opened: no stored lists, so the
        // pictures come from the user's folders.
        if (!write && Process().runMode != RunMode::Settings) {
            BuildRunLists(nullptr,
                          settingsKeyPath.empty() ? settings::SettingsKeyPath() : settingsKeyPath);
        }
        return;
    }
    settings::TransferCubeGroup(write ? settings::Direction::Write : settings::Direction::Read,
                                *key, group, firstIndex, cubeSettings);
    if (!write && Process().runMode != RunMode::Settings) {
        BuildRunLists(key->Store(),
                      settingsKeyPath.empty() ? settings::SettingsKeyPath() : settingsKeyPath);
    }
}

void CubeSaverApp::BuildRunLists(registry::RegistryStore* store,
                                 const std::string& settingsKeyPath) {
    std::vector<std::string> storedPictures;
    std::vector<std::string> storedMusic;
    if (store != nullptr) {
        storedPictures = lists::LoadListForRun(*store, registry::RegistryRoot::CurrentUser,
                                               lists::PictureListKeyPath(settingsKeyPath));
        storedMusic = lists::LoadListForRun(*store, registry::RegistryRoot::CurrentUser,
                                            lists::MusicListKeyPath(settingsKeyPath));
    }
    scene::BuildPictureList(storedPictures, SystemDirectoryLister(), scene::SystemFolderLocator(),
                            pictureList);
    scene::BuildMusicList(storedMusic, SystemDirectoryLister(), musicList);
}

void CubeSaverApp::SetDefaults(WindowHandle, int page) {
    settings::ApplyCubeDefaults(cubeSettings, static_cast<settings::DefaultsPage>(page));
}

settings::CubePagesContext CubeSaverApp::PagesContext() {
    return settings::CubePagesContext{
        pages,
        cubeSettings,
        settingsKeyPath.empty() ? settings::SettingsKeyPath() : settingsKeyPath,
        paintContext,
        [this](settings::DefaultsPage page) { SetDefaults(pages.dialog, static_cast<int>(page)); },
        cubePages_.chooseColor};
}

MessageResult CubeSaverApp::BeforePageMessage(WindowHandle dialog, unsigned message,
                                              MessageParam wParam, MessageLParam lParam) {
    if (cubePages_.before == nullptr) {
        return 0;
    }
    settings::CubePagesContext context = PagesContext();
    return cubePages_.before(context, dialog, message, wParam, lParam);
}

MessageResult CubeSaverApp::AfterPageMessage(WindowHandle dialog, unsigned message,
                                             MessageParam wParam, MessageLParam lParam) {
    if (cubePages_.after == nullptr) {
        return 0;
    }
    settings::CubePagesContext context = PagesContext();
    return cubePages_.after(context, dialog, message, wParam, lParam);
}

}  // namespace velmora
