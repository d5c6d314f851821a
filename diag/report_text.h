// The system information report as text: what was found, in its lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::diag {

struct GlStrings {
    std::string vendor;
    std::string renderer;
    std::string version;
};

struct SystemFacts {
    std::string windowsName;
    bool server = false;
    std::string versionText;
    std::optional<std::string> processorText;  // none: the processor step failed
    std::uint64_t totalPhysicalBytes = 0;
    std::optional<GlStrings> gl;  // none: the OpenGL step failed
};

// CR LF separated lines with labels padded to 13 characters, ending in CR LF.
std::string ReportText(const SystemFacts& facts);

}  // namespace velmora::diag
