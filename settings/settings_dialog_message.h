// The messages that the settings dialog posts to itself.
#pragma once

namespace velmora::settings {

// Builds the pages once the dialog has opened.
inline constexpr unsigned kBuildPagesMessage = 0x0400 + 172;  // WM_USER + 172
// Shows the new-version notice over the built dialog.
inline constexpr unsigned kShowNoticeMessage = 0x0400 + 173;
// Places the pages for the DPI in wParam once the system has rescaled the
// dialog after a move to a monitor of another DPI.
inline constexpr unsigned kPlacePagesMessage = 0x0400 + 174;

}  // namespace velmora::settings
