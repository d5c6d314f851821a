#include "frame/cube_saver_app.h"

namespace velmora {

void CubeSaverApp::SetDefaults(WindowHandle, int page) {
    settings::ApplyCubeDefaults(cubeSettings, static_cast<settings::DefaultsPage>(page));
}

}  // namespace velmora
