#include "settings/dialog_commands.h"

#include <cctype>
#include <charconv>

#include "resources/settings_dialog_ids.h"

namespace velmora::settings {

DialogCommand BaseCommand(int controlId) {
    switch (controlId) {
        case 1:  // IDOK
            return DialogCommand::Save;
        case 2:  // IDCANCEL
            return DialogCommand::Cancel;
        case IDC_DISPLAY_POWER_DOWN:
        case IDC_SHOW_FRAME_RATE:
        case IDC_LESS_PROCESSOR:
        case IDC_DISABLE_AUTO_UPDATE:
        case IDC_SHOW_DATE_TIME:
            return DialogCommand::SaverFlag;
        case IDC_USE_OTHER_RESOLUTION:
            return DialogCommand::OtherResolution;
        case IDC_RESOLUTION:
            return DialogCommand::ResolutionList;
        case IDC_COLOR_DEPTH:
            return DialogCommand::ColorDepthList;
        case IDC_REFRESH_RATE:
            return DialogCommand::RefreshRateList;
        case IDC_SUPPORT_MAIL:
            return DialogCommand::SupportMail;
        default:
            return DialogCommand::None;
    }
}

DialogCommand CubeCommand(int controlId) {
    switch (controlId) {
        case IDC_SHOW_PICTURE_NAMES:
        case IDC_SHUFFLE_PICTURES:
        case IDC_STRETCH_PICTURES:
        case IDC_SHUFFLE_MUSIC:
            return DialogCommand::CubeFlag;
        case IDC_CUBE_STYLE:
        case IDC_BACKGROUND_KIND:
        case IDC_CUBE_GLASS:
            return DialogCommand::CubeChoice;
        case IDC_ROTATION_SECONDS:
        case IDC_PICTURE_SECONDS:
            return DialogCommand::Seconds;
        case IDC_DEFAULTS:
            return DialogCommand::Defaults;
        case IDC_BACKGROUND_COLOR:
            return DialogCommand::BackgroundColor;
        case IDC_PICTURE_LIST:
            return DialogCommand::PictureList;
        case IDC_MUSIC_LIST:
            return DialogCommand::MusicList;
        default:
            return DialogCommand::None;
    }
}

std::int32_t* SaverFlagField(int controlId, SaverSettings& s) {
    switch (controlId) {
        case IDC_DISPLAY_POWER_DOWN:
            return &s.DisplayPowerDown;
        case IDC_SHOW_FRAME_RATE:
            return &s.ShowFrameRate;
        case IDC_LESS_PROCESSOR:
            return &s.LessProcessor;
        case IDC_DISABLE_AUTO_UPDATE:
            return &s.DisableAutoUpdate;
        case IDC_SHOW_DATE_TIME:
            return &s.ShowDateTime;
        case IDC_USE_OTHER_RESOLUTION:
            return &s.UseOtherResolution;
        default:
            return nullptr;
    }
}

std::int32_t* CubeFlagField(int controlId, CubeSettings& s) {
    switch (controlId) {
        case IDC_SHOW_PICTURE_NAMES:
            return &s.ShowPictureNames;
        case IDC_SHUFFLE_PICTURES:
            return &s.ShufflePictures;
        case IDC_STRETCH_PICTURES:
            return &s.StretchPictures;
        case IDC_SHUFFLE_MUSIC:
            return &s.ShuffleMusic;
        default:
            return nullptr;
    }
}

std::int32_t* CubeChoiceField(int controlId, CubeSettings& s) {
    switch (controlId) {
        case IDC_CUBE_STYLE:
            return &s.CubeStyle;
        case IDC_BACKGROUND_KIND:
            return &s.BackgroundKind;
        case IDC_CUBE_GLASS:
            return &s.CubeGlass;
        default:
            return nullptr;
    }
}

std::int32_t* SecondsField(int controlId, CubeSettings& s) {
    switch (controlId) {
        case IDC_ROTATION_SECONDS:
            return &s.RotationSeconds;
        case IDC_PICTURE_SECONDS:
            return &s.PictureSeconds;
        default:
            return nullptr;
    }
}

bool ScanSeconds(std::string_view text, std::int32_t& seconds) {
    text = text.substr(0, 31);
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    if (at < text.size() && text[at] == '+') {
        ++at;
    }
    std::int32_t value = 0;
    if (std::from_chars(text.data() + at, text.data() + text.size(), value).ec != std::errc{}) {
        return false;
    }
    seconds = value;
    return true;
}

}  // namespace velmora::settings
