// The cube saver: the application object of this program. It adds the cube
// group of the settings record to the general frame; the render device, the
// scene, the font and the music player join it as they are built.
#pragma once

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

    settings::CubeSettings cubeSettings;
};

}  // namespace velmora
