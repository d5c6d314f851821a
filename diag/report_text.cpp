#include "diag/report_text.h"

#include <cstdio>

namespace velmora::diag {

namespace {

std::string MemoryLine(std::uint64_t totalPhysicalBytes) {
    char line[48];
    std::snprintf(line, sizeof line, "Memory:      %d MB\r\n",
                  static_cast<int>(totalPhysicalBytes >> 20));
    return line;
}

std::string GlLines(const std::optional<GlStrings>& gl) {
    if (!gl) {
        return "OpenGL: There was an error getting your OpenGL info, please fill this in.";
    }
    return "GL_VENDOR:   " + gl->vendor + "\r\nGL_RENDERER: " + gl->renderer +
           "\r\nGL_VERSION:  " + gl->version;
}

}  // namespace

std::string ReportText(const SystemFacts& facts) {
    std::string text = "Windows:     " + facts.windowsName;
    if (facts.server) {
        text += " Server";
    }
    text += " " + facts.versionText + "\r\n";
    text += "Processor:   ";
    text += facts.processorText ? *facts.processorText
                                : "CPU:         There was an error getting your CPU info, please "
                                  "fill this in.";
    text += "\r\n";
    text += MemoryLine(facts.totalPhysicalBytes);
    text += GlLines(facts.gl);
    text += "\r\n";
    return text;
}

}  // namespace velmora::diag
