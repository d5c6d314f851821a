#include "frame/cube_saver_app.h"

#include "base/directory_listing.h"
#include "frame/run_mode.h"
#include "lists/list_storage.h"
#include "lists/list_texts.h"
#include "scene/media_lists.h"
#include "settings/settings_storage.h"

namespace velmora {

void CubeSaverApp::TransferSettings(WindowHandle, bool write, settings::RegistryKey* key, int group,
                                    int firstIndex) {
    if (key == nullptr) {
        return;
    }
    settings::TransferCubeGroup(write ? settings::Direction::Write : settings::Direction::Read,
                                *key, group, firstIndex, cubeSettings);
    if (!write && Process().runMode != RunMode::Settings) {
        BuildRunLists(key->Store(), settings::SettingsKeyPath());
    }
}

void CubeSaverApp::BuildRunLists(settings::RegistryStore* store,
                                 const std::string& settingsKeyPath) {
    std::vector<std::string> storedPictures;
    std::vector<std::string> storedMusic;
    if (store != nullptr) {
        storedPictures = lists::LoadListForRun(*store, settings::RegistryRoot::CurrentUser,
                                               lists::PictureListKeyPath(settingsKeyPath));
        storedMusic = lists::LoadListForRun(*store, settings::RegistryRoot::CurrentUser,
                                            lists::MusicListKeyPath(settingsKeyPath));
    }
    scene::BuildPictureList(storedPictures, SystemDirectoryLister(), scene::SystemFolderLocator(),
                            pictureList);
    scene::BuildMusicList(storedMusic, SystemDirectoryLister(), musicList);
}

void CubeSaverApp::SetDefaults(WindowHandle, int page) {
    settings::ApplyCubeDefaults(cubeSettings, static_cast<settings::DefaultsPage>(page));
}

}  // namespace velmora
