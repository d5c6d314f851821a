// The system report on this machine, the clock measurement's scheduling and
// the clipboard copy.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "diag/win32/clipboard.h"
#include "diag/win32/processor_clock.h"
#include "diag/win32/system_report.h"
#include "tests/win32/plain_window.h"

namespace velmora::testing {
namespace {

using namespace velmora::diag;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the report ends in CR LF";
    return lines;
}

TEST(SystemReport, FivePartsInOrderWithTheDriversStrings) {
    PlainWindow window(64, 64);
    // A second report on the same window finds its pixel format already set.
    for (int report = 0; report < 2; ++report) {
        const std::vector<std::string> lines = Lines(BuildSystemReport(window.Handle()));
        ASSERT_EQ(lines.size(), 6u);
        const char* labels[] = {"Windows:     ", "Processor:   ", "Memory:      ",
                                "GL_VENDOR:   ", "GL_RENDERER: ", "GL_VERSION:  "};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].rfind(labels[i], 0), 0u) << lines[i];
            EXPECT_GT(lines[i].size(), 13u) << lines[i];
        }
        EXPECT_NE(lines[3].find("Mesa"), std::string::npos) << lines[3];
        EXPECT_NE(lines[1].find(" MHz"), std::string::npos);

        MEMORYSTATUSEX memory{};
        memory.dwLength = sizeof memory;
        ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
        const long long megabytes = static_cast<long long>(memory.ullTotalPhys >> 20);
        long long reported = -1;
        std::istringstream(lines[2].substr(13)) >> reported;
        EXPECT_NEAR(static_cast<double>(reported), static_cast<double>(megabytes), 1.0);
    }
}

TEST(SystemReport, ClockMeasurementRestoresPrioritiesAndAffinity) {
    HANDLE process = GetCurrentProcess();
    const DWORD priorityClass = GetPriorityClass(process);
    const int threadPriority = GetThreadPriority(GetCurrentThread());
    DWORD_PTR affinity = 0, system = 0;
    ASSERT_TRUE(GetProcessAffinityMask(process, &affinity, &system));

    ASSERT_TRUE(CpuidAvailable());
    ProcessorInfo info;
    const std::uint64_t hz = MeasureClock(info, 50);
    EXPECT_GT(hz, 100'000'000u);
    EXPECT_EQ(MeasureClock(info, 0), hz);

    DWORD_PTR affinityAfter = 0;
    GetProcessAffinityMask(process, &affinityAfter, &system);
    EXPECT_EQ(affinityAfter, affinity);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), threadPriority);
    EXPECT_EQ(GetPriorityClass(process), priorityClass);

    // The real instructions reach the naming tables.
    const ProcessorInfo self = IdentifyThisProcessor();
    const std::uint32_t vendor = Cpuid(0).ebx;
    const char* expected = vendor == 0x756E6547   ? "Intel"
                           : vendor == 0x68747541 ? "AMD"
                                                  : "Unknown";
    EXPECT_NE(self.name.find(expected), std::string::npos) << self.name;
    EXPECT_GT(self.clockHz, 0u);
}

TEST(SystemReport, ClipboardCopyRoundTrips) {
    const std::string text = "Windows:     x\r\nMemory:      1 MB\r\n";
    ASSERT_EQ(CopyTextToClipboard(text), S_OK);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const auto* copied = static_cast<const char*>(GlobalLock(data));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(std::string(copied), text);
    GlobalUnlock(data);
    CloseClipboard();
}

}  // namespace
}  // namespace velmora::testing
