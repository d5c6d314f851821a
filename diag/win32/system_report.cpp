#include "diag/win32/system_report.h"

#include "diag/report_text.h"
#include "diag/win32/gl_strings.h"
#include "diag/win32/processor_clock.h"
#include "diag/win32/windows_version.h"

namespace velmora::diag {

std::string BuildSystemReport(HWND window) {
    SystemFacts facts;
    facts.windowsName = NameOfWindows(BasicWindowsVersion()).text;
    ReadVersionText(facts.versionText, facts.server);
    facts.processorText = ProcessorText(IdentifyThisProcessor());
    MEMORYSTATUS memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    facts.totalPhysicalBytes = memory.dwTotalPhys;
    facts.gl = ReadGlStrings(window);
    return ReportText(facts);
}

}  // namespace velmora::diag
