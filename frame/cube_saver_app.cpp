#include "frame/cube_saver_app.h"

#include "frame/run_mode.h"
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
        // The picture and music lists are built here from the list subkeys
        // once the picture loading pipeline exists.
    }
}

void CubeSaverApp::SetDefaults(WindowHandle, int page) {
    settings::ApplyCubeDefaults(cubeSettings, static_cast<settings::DefaultsPage>(page));
}

}  // namespace velmora
