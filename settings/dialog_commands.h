// What each command of the settings dialog does, by control id, and the
// settings that the check boxes, lists and edits hold.
#pragma once

#include <cstdint>
#include <string_view>

#include "settings/cube_settings.h"
#include "settings/saver_settings.h"

namespace velmora::settings {

enum class DialogCommand {
    None,
    Save,             // "OK": save, end with 1
    Cancel,           // end with 2, nothing written
    SaverFlag,        // a check box of the saver group
    OtherResolution,  // the check box, then both mode lists refilled
    ResolutionList,   // selection changes only
    ColorDepthList,
    RefreshRateList,
    SupportMail,
    CubeFlag,         // a check box of the cube group
    CubeChoice,       // a list's selection, -1 for none
    Seconds,          // an edit's number
    Defaults,         // the current page's defaults
    BackgroundColor,  // the colour chooser
    PictureList,      // the list editors
    MusicList,
};

// The commands that the base class's handler acts on, and the cube saver's.
DialogCommand BaseCommand(int controlId);
DialogCommand CubeCommand(int controlId);

// The field a control holds, or null when it holds none of that kind.
std::int32_t* SaverFlagField(int controlId, SaverSettings& settings);
std::int32_t* CubeFlagField(int controlId, CubeSettings& settings);
std::int32_t* CubeChoiceField(int controlId, CubeSettings& settings);
std::int32_t* SecondsField(int controlId, CubeSettings& settings);

// The number at the start of an edit's text as "%d" reads it (blanks, a
// sign, digits; at most 31 characters are looked at). False, with seconds
// unchanged, when there is none or it does not fit.
bool ScanSeconds(std::string_view text, std::int32_t& seconds);

}  // namespace velmora::settings
