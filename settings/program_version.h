// The program's version as the settings dialog shows it and the update check
// compares it.
#pragma once

namespace velmora::settings {

// Shown by the settings dialog and compared with the latest release's version.
inline constexpr float ProgramVersion = 1.1f;

}  // namespace velmora::settings
