// Encoded texts of the saver frame: window identity, version format and the
// Windows 9x password library's names.
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kWindowClass = EncodeText("VelmoraCubeSaverClass");
inline constexpr auto kWindowTitle = EncodeText("Velmora Cube Saver");
inline constexpr auto kPreviewTitle = EncodeText("Velmora Cube Saver Preview");
inline constexpr auto kVersionFormat = EncodeText("%.1f");

inline constexpr auto kRegisterFailedText =
    EncodeText("The screen saver could not register its window class.");
inline constexpr auto kRegisterFailedCaption = EncodeText("Velmora Cube Saver");
inline constexpr auto kCreateFailedText =
    EncodeText("The screen saver window could not be created.");
inline constexpr auto kCreateFailedCaption = EncodeText("Velmora Cube Saver");
inline constexpr auto kModeSwitchFailedText = EncodeText(
    "The screen saver could not switch to the resolution chosen in its settings, so it will not "
    "start. Choose another resolution, or turn off the different resolution.");

inline constexpr auto kPasswordChangeLibrary = EncodeText("mpr.dll");
inline constexpr auto kPasswordChangeEntry = EncodeText("PwdChangePasswordA");
inline constexpr auto kPasswordProvider = EncodeText("SCRSAVE");
inline constexpr auto kPasswordVerifyLibrary = EncodeText("password.cpl");
inline constexpr auto kPasswordVerifyEntry = EncodeText("VerifyScreenSavePwd");

}  // namespace velmora::texts
