#include "frame/cube_saver_app.h"

#include <utility>

#include "base/directory_listing.h"
#include "base/platform.h"
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
    return scene.Start(window, cubeSettings, overlays, pictureList,
                       Process().runMode == RunMode::Preview);
}

Status CubeSaverApp::Frame(WindowHandle window, DeviceContextHandle) {
    const double now = clock.NowMilliseconds();
    if (lastFrameTime < 0) {
        lastFrameTime = now;
    }
    const double dt = (now - lastFrameTime) * 0.001;
    if (saverSettings.LessProcessor == 1 && dt < 0.01) {
        platform::SleepMilliseconds(1);
        return S_OK;
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
