// The cube saver: the application object of this program. It adds the cube
// group of the settings record to the general frame; the render device, the
// scene, the font and the music player join it as they are built.
#pragma once

#include <string>
#include <vector>

#include "frame/saver_app.h"
#include "settings/cube_settings.h"

namespace velmora {

class CubeSaverApp : public SaverApp {
public:
    CubeSaverApp() = default;
    ~CubeSaverApp() override = default;

    // Moves the cube group; a read outside the settings dialog also builds the
    // picture and music lists.
    void TransferSettings(WindowHandle window, bool write, settings::RegistryKey* key, int group,
                          int firstIndex) override;
    void SetDefaults(WindowHandle window, int page) override;

    // Builds both lists of a run from the lists stored below settingsKeyPath,
    // with the system's folders. Without a store (the settings key could not
    // be opened) nothing is stored, so the pictures come from the user's
    // folders and there is no music.
    void BuildRunLists(settings::RegistryStore* store, const std::string& settingsKeyPath);

    settings::CubeSettings cubeSettings;
    // Full paths of the run's pictures and songs.
    std::vector<std::string> pictureList;
    std::vector<std::string> musicList;
};

}  // namespace velmora
