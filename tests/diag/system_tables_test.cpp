// The report's tables: Windows names, version text, processor names.
#include <gtest/gtest.h>

#include "diag/processor_name.h"
#include "diag/windows_name.h"

namespace velmora::diag {
namespace {

TEST(WindowsName, Table) {
    const struct {
        std::uint32_t platform, major, minor, build;
        const char* name;
        int code;
    } rows[] = {
        {kPlatformWindows9x, 4, 0, 950, "Windows 95", 1},
        {kPlatformWindows9x, 4, 3, 1080, "Windows 95 SP1", 2},
        {kPlatformWindows9x, 4, 0, 0x04001081, "Windows 95 OSR2", 3},  // build: low 16 bits
        {kPlatformWindows9x, 4, 0, 949, "unknown Windows version", 0},
        {kPlatformWindows9x, 4, 10, 1998, "Windows 98", 4},
        {kPlatformWindows9x, 4, 10, 2182, "Windows 98 SP1", 5},
        {kPlatformWindows9x, 4, 10, 2222, "Windows 98 SE", 6},
        {kPlatformWindows9x, 4, 10, 1997, "unknown Windows version", 0},
        {kPlatformWindows9x, 4, 90, 3000, "Windows ME", 7},
        {kPlatformWindowsNt, 3, 51, 1057, "Windows NT 3.51", 101},
        {kPlatformWindowsNt, 4, 0, 1381, "Windows NT 4", 102},
        {kPlatformWindowsNt, 5, 1, 2600, "Windows XP", 104},
        {kPlatformWindowsNt, 5, 2, 3790, "unknown Windows version", 0},
        {kPlatformWindowsNt, 6, 2, 9200, "unknown Windows version", 0},
        {kPlatformWindowsNt, 10, 0, 10240, "Windows 10", 110},
        {kPlatformWindowsNt, 10, 0, 21999, "Windows 10", 110},
        {kPlatformWindowsNt, 10, 0, 22000, "Windows 11", 111},
        {kPlatformWindowsNt, 10, 0, 26100, "Windows 11", 111},
        {kPlatformWindowsNt, 10, 1, 22000, "unknown Windows version", 0},
        {kPlatformWindows9x, 10, 0, 22000, "unknown Windows version", 0},
        {kPlatformWindowsCe, 3, 0, 1, "Windows CE", 201},
        {kPlatformWin32s, 1, 30, 1, "unknown Windows version", 0},
    };
    for (const auto& row : rows) {
        const WindowsName name =
            NameOfWindows(WindowsVersion{row.platform, row.major, row.minor, row.build, ""});
        EXPECT_EQ(name.text, row.name) << row.major << "." << row.minor << "." << row.build;
        EXPECT_EQ(name.code, row.code);
    }
    EXPECT_EQ(NameOfWindows(std::nullopt).text, "unknown Windows version");
}

TEST(WindowsName, VersionTextAndServerType) {
    EXPECT_EQ(VersionText({kPlatformWindowsNt, 5, 1, 2600, "Service Pack 2"}),
              "5.1.2600 Service Pack 2");
    EXPECT_EQ(VersionText({kPlatformWindows9x, 4, 10, 0x040A08AE, " A "}), "4.10.2222  A ");
    EXPECT_EQ(VersionText({kPlatformWindowsCe, 3, 0, 1, "x"}), "");
    EXPECT_TRUE(IsServerProductType("SERVERNT"));
    EXPECT_TRUE(IsServerProductType("ServerNT"));
    EXPECT_FALSE(IsServerProductType("WINNT"));
    EXPECT_FALSE(IsServerProductType("LANMANNT"));
    EXPECT_FALSE(IsServerProductType("SERVERNT2"));
}

TEST(ProcessorName, IntelTable) {
    const struct {
        std::uint32_t family, model, brand;
        const char* name;
    } rows[] = {
        {3, 9, 0, "Intel i386"},
        {4, 9, 0, "Intel i486 DX4"},
        {4, 6, 0, "Intel i486 (Unknown model)"},
        {5, 8, 0, "Intel Pentium MMX (P55C core), 0.25 \xB5m"},
        {6, 8, 2, "Intel Pentium III"},
        {6, 8, 5, "Intel Pentium III core unknown model,"},
        {6, 10, 5, "Intel Pentium III core unknown model"},
        {6, 11, 7, "Intel Celeron mobile Tualatin core 0.13\xB5m"},
        {6, 12, 0, "Intel Pentium Pro (Unknown model)"},
        {15, 0, 8, "Intel Pentium 4 Willamette (A-Step)"},
        {15, 2, 10, "Intel Pentium 4 Northwood"},
        {15, 2, 8, "Intel Pentium 4 Northwood Xeon"},
        {15, 3, 9, "Intel Pentium 4 (Unknown model)"},
        {7, 0, 0, "Intel (Unknown model)"},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(IntelCodeName(row.family, row.model, row.brand), row.name)
            << row.family << "/" << row.model << "/" << row.brand;
    }
}

TEST(ProcessorName, AmdTable) {
    const struct {
        std::uint32_t family, model;
        const char* name;
    } rows[] = {
        {4, 15, "AMD 5x86 write-back enhanced"},
        {4, 0, "AMD 80486 or 5x86 (Unknown model)"},
        {5, 13, "AMD K6-2+ or K6-III+ 0.18 \xB5m"},
        {5, 4, "AMD K5 or K6 (Unknown model)"},
        {6, 6, "AMD Athlon MP/Mobile Athlon (Palomino core)"},
        {6, 8, "AMD K7 (Unknown model)"},
        {15, 1, "AMD (Unknown model)"},
    };
    for (const auto& row : rows) {
        EXPECT_STREQ(AmdCodeName(row.family, row.model), row.name)
            << row.family << "/" << row.model;
    }
}

constexpr std::uint32_t kGenu = 0x756E6547;
constexpr std::uint32_t kAuth = 0x68747541;

// Leaf 1 EAX from its fields.
std::uint32_t Signature(std::uint32_t type, std::uint32_t family, std::uint32_t model) {
    return type << 12 | family << 8 | model << 4 | 3;
}

TEST(ProcessorName, TypePrefixVendorAndText) {
    ProcessorInfo pentium;
    pentium.clockHz = 733'400'000;
    NameProcessor({2, kGenu, 0, 0}, {Signature(0, 6, 8), 0x12, 0, 0}, pentium);
    EXPECT_EQ(pentium.name, "Original OEM Intel Pentium III");
    EXPECT_EQ(ProcessorText(pentium), "Original OEM Intel Pentium III 733 MHz");

    const struct {
        std::uint32_t vendor, type;
        const char* name;
    } rows[] = {{kAuth, 1, "Overdrive AMD K6-2"},
                {kAuth, 2, "Dual-capable AMD K6-2"},
                {kAuth, 3, "AMD K6-2"},
                {0x746E6543 /* "Cent" */, 0, "Unknown"}};
    for (const auto& row : rows) {
        ProcessorInfo info;
        NameProcessor({1, row.vendor, 0, 0}, {Signature(row.type, 5, 8), 0, 0, 0}, info);
        EXPECT_EQ(info.name, row.name);
    }
    EXPECT_EQ(ProcessorText(ProcessorInfo{}), " 0 MHz");
}

TEST(ProcessorName, ClockRate) {
    EXPECT_EQ(ClockRateHz(150'000'000, 500'000, 10'000'000), 3'000'000'000u);
    EXPECT_EQ(ClockRateHz(150'000'000, 0, 10'000'000), 0u);
    EXPECT_TRUE(HasTimeStampCounter({0, 0, 0, 1u << 4}));
    EXPECT_FALSE(HasTimeStampCounter({0, 0, 0, ~(1u << 4)}));
}

}  // namespace
}  // namespace velmora::diag
