// Texts that several subsystems share: the product name and the settings key.
#pragma once

#include "base/encoded_text.h"

namespace velmora::texts {

inline constexpr auto kProduct = EncodeText("Velmora");
inline constexpr auto kMaker = EncodeText("Quillfen Graphics");
// Per-user key under HKEY_CURRENT_USER: software key / maker / product.
inline constexpr auto kSettingsKeyPath = EncodeText("Software\\Quillfen Graphics\\Velmora");

}  // namespace velmora::texts
