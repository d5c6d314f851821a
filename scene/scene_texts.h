// Encoded texts of the cube scene: resource names, display names, formats.
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kFaceMeshFormat = EncodeText("PCUBE%d.MSH");
inline constexpr auto kGlassMesh = EncodeText("CUBE2.MSH");
// "Sky blue" glass uses the first, "Silver chrome" the second.
inline constexpr auto kFirstEnvironmentTexture = EncodeText("SKY.TEX");
inline constexpr auto kSecondEnvironmentTexture = EncodeText("CHROME.TEX");
inline constexpr auto kDefaultPicture = EncodeText("DEFAULT.TEX");
inline constexpr auto kDefaultPictureName = EncodeText("No picture");
inline constexpr auto kFontTexture = EncodeText("FONT1-A.TEX");
inline constexpr auto kPictureNameFormat = EncodeText("%s");
inline constexpr auto kFrameRateFormat = EncodeText("%d fps");
inline constexpr auto kLoadingText = EncodeText("Loading...");

}  // namespace velmora::texts
