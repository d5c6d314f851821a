#include "settings/cube_settings.h"

namespace velmora::settings {

void ApplyCubeDefaults(CubeSettings& settings, DefaultsPage page) {
    const CubeSettings defaults;
    if (page != DefaultsPage::CubeAppearance) {
        settings.ShowPictureNames = defaults.ShowPictureNames;
        settings.StretchPictures = defaults.StretchPictures;
        settings.ShufflePictures = defaults.ShufflePictures;
    }
    if (page != DefaultsPage::Pictures) {
        settings.RotationSeconds = defaults.RotationSeconds;
        settings.PictureSeconds = defaults.PictureSeconds;
        settings.CubeStyle = defaults.CubeStyle;
        settings.BackgroundKind = defaults.BackgroundKind;
        settings.BackgroundColor = defaults.BackgroundColor;
        settings.CubeGlass = defaults.CubeGlass;
    }
    settings.ShuffleMusic = defaults.ShuffleMusic;
}

}  // namespace velmora::settings
