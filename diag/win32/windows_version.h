// The Windows version of this system, for the report's Windows line.
#pragma once

#include <optional>
#include <string>

#include "diag/windows_name.h"

namespace velmora::diag {

// From GetVersionExA with the basic version record, with the real version
// numbers on Windows NT; none if the call fails.
std::optional<WindowsVersion> BasicWindowsVersion();

// The version text and, on Windows NT, whether the product type is a server.
// False (text empty) when neither version record can be read.
bool ReadVersionText(std::string& text, bool& server);

}  // namespace velmora::diag
