// The cube group of the settings record: options of the cube saver, each with
// its registry index, and the rules that put the defaults back.
#pragma once

#include <cstdint>

namespace velmora::settings {

// Registry indexes of the cube group, read and written after the saver group.
namespace cube_index {
inline constexpr int RotationSeconds = 100;
inline constexpr int CubeStyle = 101;
inline constexpr int StretchPictures = 102;
inline constexpr int ShufflePictures = 103;
inline constexpr int BackgroundKind = 104;
inline constexpr int BackgroundColor = 105;
inline constexpr int CubeGlass = 106;
inline constexpr int PictureSeconds = 107;
inline constexpr int ShowPictureNames = 108;
inline constexpr int ShuffleMusic = 109;
}  // namespace cube_index

inline constexpr int kCubeFirstIndex = 100;

// Stored choice values: positions in the combo box lists. A stored value
// outside these is kept as it is; the dialog then selects nothing.
namespace cube_style {
inline constexpr std::int32_t LargeCube = 0;
inline constexpr std::int32_t SmallCube = 1;
inline constexpr std::int32_t Zooming = 2;
inline constexpr std::int32_t Bouncing = 3;
}  // namespace cube_style

namespace background_kind {
inline constexpr std::int32_t SolidColor = 0;
inline constexpr std::int32_t FirstPicture = 1;
inline constexpr std::int32_t StarField = 2;
}  // namespace background_kind

namespace cube_glass {
inline constexpr std::int32_t SkyBlue = 0;
inline constexpr std::int32_t SilverChrome = 1;
inline constexpr std::int32_t Disabled = 2;
}  // namespace cube_glass

// Which settings a defaults request covers.
enum class DefaultsPage : int {
    All = 0,
    Pictures = 1,
    CubeAppearance = 2,
};

// Fields in the order of the class; flags are 0 or 1.
struct CubeSettings {
    std::int32_t RotationSeconds = 2;
    std::int32_t PictureSeconds = 4;
    std::int32_t CubeStyle = cube_style::LargeCube;
    std::int32_t StretchPictures = 0;
    std::int32_t ShufflePictures = 1;
    std::int32_t BackgroundKind = background_kind::StarField;
    std::uint32_t BackgroundColor = 0;  // COLORREF, 0x00BBGGRR
    std::int32_t CubeGlass = cube_glass::SkyBlue;
    std::int32_t ShowPictureNames = 0;
    std::int32_t ShuffleMusic = 1;
};

// Puts back the defaults of one dialog page. Music's shuffle flag belongs to
// no page with a "Defaults" button, so every page's button resets it too.
void ApplyCubeDefaults(CubeSettings& settings, DefaultsPage page);

}  // namespace velmora::settings
