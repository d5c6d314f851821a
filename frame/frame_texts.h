// Encoded texts of the saver frame: window identity, version format and the
// Windows 9x password library's names.
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kWindowClass = EncodeText("VelmoraCubeSaverClass");
inline constexpr auto kWindowTitle = EncodeText("Velmora Cube Saver");
inline constexpr auto kPreviewTitle = EncodeText("Velmora Cube Saver Preview");
inline constexpr auto kVersionFormat = EncodeText("%.1f");

inline constexpr auto kPasswordChangeLibrary = EncodeText("mpr.dll");
inline constexpr auto kPasswordChangeEntry = EncodeText("PwdChangePasswordA");
inline constexpr auto kPasswordProvider = EncodeText("SCRSAVE");
inline constexpr auto kPasswordVerifyLibrary = EncodeText("password.cpl");
inline constexpr auto kPasswordVerifyEntry = EncodeText("VerifyScreenSavePwd");

}  // namespace velmora::texts
