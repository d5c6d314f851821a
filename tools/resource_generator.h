// Makes the program's nine packed resources, the same bytes on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::tools {

struct GeneratedResource {
    std::string name;  // CHROME.TEX, PCUBE0.MSH, ...
    std::vector<std::uint8_t> packed;
};

// fontFolder: where the TrueType fonts are (Debian's fonts-dejavu-core).
// Empty on failure.
std::vector<GeneratedResource> GenerateResources(const std::string& fontFolder);

inline constexpr const char* kDefaultFontFolder = "/usr/share/fonts/truetype/dejavu";

}  // namespace velmora::tools
