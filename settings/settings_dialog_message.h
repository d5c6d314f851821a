// The message that builds the settings dialog's pages once it has opened.
#pragma once

namespace velmora::settings {

inline constexpr unsigned kBuildPagesMessage = 0x0400 + 172;  // WM_USER + 172

}  // namespace velmora::settings
