// The saver group of the settings record: options of the general screen-saver
// frame, each with its registry index.
#pragma once

#include <cstdint>

namespace velmora::settings {

// Registry indexes of the saver group (group 0).
namespace saver_index {
inline constexpr int AuxFlag0 = 0;
inline constexpr int ShowFrameRate = 1;
inline constexpr int DisplayPowerDown = 2;
inline constexpr int AuxFlag3 = 3;
inline constexpr int DisableAutoUpdate = 4;
inline constexpr int AuxFactor5 = 5;
inline constexpr int UseOtherResolution = 7;
inline constexpr int ScreenWidth = 8;
inline constexpr int ScreenHeight = 9;
inline constexpr int ColorDepth = 10;
inline constexpr int RefreshRate = 11;
inline constexpr int LessProcessor = 12;
inline constexpr int ShowDateTime = 13;
inline constexpr int LatestVersion = 75;
inline constexpr int NotifiedVersion = 76;
// These live only in the registry, not in the record.
inline constexpr int SettingsOpenCount = 77;
inline constexpr int UpdateCheckDone = 78;
inline constexpr int TotalRunSeconds = 81;
}  // namespace saver_index

inline constexpr int kSaverGroup = 0;
inline constexpr int kVersionTextSize = 32;

// Fields in the order of the class; flags are 0 or 1.
struct SaverSettings {
    std::int32_t AuxFlag0 = 1;
    std::int32_t AuxFlag3 = 1;
    std::int32_t ShowFrameRate = 0;
    std::int32_t DisplayPowerDown = 1;
    std::int32_t LessProcessor = 0;
    std::int32_t DisableAutoUpdate = 0;
    std::int32_t ShowDateTime = 0;
    std::int32_t UseOtherResolution = 0;
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::int32_t ColorDepth = 0;
    std::int32_t RefreshRate = 0;
    float AuxFactor5 = 1.0f;
    // NUL-terminated texts, zero-filled at construction.
    char LatestVersion[kVersionTextSize] = {};
    char NotifiedVersion[kVersionTextSize] = {};
};

}  // namespace velmora::settings
