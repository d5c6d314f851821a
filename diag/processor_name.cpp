#include "diag/processor_name.h"

#include <array>
#include <cstdio>

namespace velmora::diag {

namespace {

constexpr std::uint32_t kAuthenticAmd = 0x68747541;  // "Auth"
constexpr std::uint32_t kGenuineIntel = 0x756E6547;  // "Genu"
constexpr int kAny = -1;

// The first row that matches wins, so specific rows come before their "other".
struct CodeNameRow {
    int family;
    int model;
    int brand;
    const char* name;
};

// "\xB5" is the micro sign of code page 1252.
constexpr CodeNameRow kIntelNames[] = {
    {3, kAny, kAny, "Intel i386"},
    {4, 0, kAny, "Intel i486 DX-25/33"},
    {4, 1, kAny, "Intel i486 DX-50"},
    {4, 2, kAny, "Intel i486 SX"},
    {4, 3, kAny, "Intel i486 DX2 with i487 numeric coprocessor"},
    {4, 4, kAny, "Intel i486 SL"},
    {4, 5, kAny, "Intel i486 SX2"},
    {4, 7, kAny, "Intel i486 write-back enhanced DX2"},
    {4, 8, kAny, "Intel i486 DX4"},
    {4, 9, kAny, "Intel i486 DX4"},
    {4, kAny, kAny, "Intel i486 (Unknown model)"},
    {5, 0, kAny, "Intel Pentium (P5 A-Step core)"},
    {5, 1, kAny, "Intel Pentium 60/66 (P5 core)"},
    {5, 2, kAny, "Intel Pentium 75-200 (P54C core)"},
    {5, 3, kAny, "Intel Pentium for 486 (P24T overdrive core)"},
    {5, 4, kAny, "Intel Pentium MMX (P55C core)"},
    {5, 7, kAny, "Intel Pentium (P54C core)"},
    {5, 8, kAny, "Intel Pentium MMX (P55C core), 0.25 \xB5m"},
    {5, kAny, kAny, "Intel Pentium (Unknown P5-model)"},
    {6, 0, kAny, "Intel Pentium Pro (P6 A-Step core)"},
    {6, 1, kAny, "Intel Pentium Pro (P6 core)"},
    {6, 3, kAny, "Intel Pentium II Model 3 core, 0.28\xB5m"},
    {6, 5, kAny, "Intel Pentium II/Xeon/Celeron Model 5 core, 0.25\xB5m"},
    {6, 6, kAny, "Intel Pentium II"},
    {6, 7, kAny, "Intel Pentium III/Pentium III Xeon 0.25\xB5m with external L2 cache"},
    {6, 8, 1, "Intel Celeron"},
    {6, 8, 2, "Intel Pentium III"},
    {6, 8, 3, "Intel Pentium III Xeon"},
    {6, 8, kAny, "Intel Pentium III core unknown model,"},
    {6, 10, 1, "Intel Celeron"},
    {6, 10, 2, "Intel Pentium III"},
    {6, 10, 3, "Intel Pentium III Xeon"},
    {6, 10, kAny, "Intel Pentium III core unknown model"},
    {6, 11, 3, "Intel Celeron Tualatin core 0.13\xB5m"},
    {6, 11, 4, "Intel Pentium III Tualatin core 0.13\xB5m"},
    {6, 11, 7, "Intel Celeron mobile Tualatin core 0.13\xB5m"},
    {6, 11, kAny, "Intel Pentium III Tualatin core unknown model 0.13\xB5m"},
    {6, kAny, kAny, "Intel Pentium Pro (Unknown model)"},
    {15, 0, 8, "Intel Pentium 4 Willamette (A-Step)"},
    {15, 0, kAny, "Intel Pentium 4 Willamette Xeon (A-Step)"},
    {15, 1, 8, "Intel Pentium 4 Willamette"},
    {15, 1, kAny, "Intel Pentium 4 Willamette Xeon"},
    {15, 2, 9, "Intel Pentium 4 Northwood"},
    {15, 2, 10, "Intel Pentium 4 Northwood"},
    {15, 2, kAny, "Intel Pentium 4 Northwood Xeon"},
    {15, kAny, kAny, "Intel Pentium 4 (Unknown model)"},
    {kAny, kAny, kAny, "Intel (Unknown model)"},
};

constexpr CodeNameRow kAmdNames[] = {
    {4, 3, kAny, "AMD 80486 DX2"},
    {4, 7, kAny, "AMD 80486 write-back enhanced DX2"},
    {4, 8, kAny, "AMD 80486 DX4"},
    {4, 9, kAny, "AMD 80486 write-back enhanced DX4"},
    {4, 14, kAny, "AMD 5x86"},
    {4, 15, kAny, "AMD 5x86 write-back enhanced"},
    {4, kAny, kAny, "AMD 80486 or 5x86 (Unknown model)"},
    {5, 0, kAny, "AMD K5 SSA5 (PR75, PR90, PR100)"},
    {5, 1, kAny, "AMD K5 5k86 (PR120, PR133)"},
    {5, 2, kAny, "AMD K5 5k86 (PR166)"},
    {5, 3, kAny, "AMD K5 5k86 (PR200)"},
    {5, 6, kAny, "AMD K6 0.30 \xB5m"},
    {5, 7, kAny, "AMD K6 0.25 \xB5m"},
    {5, 8, kAny, "AMD K6-2"},
    {5, 9, kAny, "AMD K6-III"},
    {5, 13, kAny, "AMD K6-2+ or K6-III+ 0.18 \xB5m"},
    {5, kAny, kAny, "AMD K5 or K6 (Unknown model)"},
    {6, 1, kAny, "AMD Athlon 0.25 \xB5m"},
    {6, 2, kAny, "AMD Athlon 0.18 \xB5m"},
    {6, 3, kAny, "AMD Duron (Spitfire core)"},
    {6, 4, kAny, "AMD Athlon (Thunderbird core)"},
    {6, 6, kAny, "AMD Athlon MP/Mobile Athlon (Palomino core)"},
    {6, 7, kAny, "AMD Mobile Duron (Morgan core)"},
    {6, kAny, kAny, "AMD K7 (Unknown model)"},
    {kAny, kAny, kAny, "AMD (Unknown model)"},
};

bool Fits(int wanted, std::uint32_t value) {
    return wanted == kAny || static_cast<std::uint32_t>(wanted) == value;
}

template <std::size_t N>
const char* Lookup(const CodeNameRow (&rows)[N], std::uint32_t family, std::uint32_t model,
                   std::uint32_t brand) {
    for (const CodeNameRow& row : rows) {
        if (Fits(row.family, family) && Fits(row.model, model) && Fits(row.brand, brand)) {
            return row.name;
        }
    }
    return rows[N - 1].name;
}

}  // namespace

const char* ProcessorTypePrefix(std::uint32_t type) {
    static constexpr std::array<const char*, 4> kPrefixes = {"Original OEM ", "Overdrive ",
                                                             "Dual-capable ", ""};
    return kPrefixes[type & 3u];
}

const char* IntelCodeName(std::uint32_t family, std::uint32_t model, std::uint32_t brand) {
    return Lookup(kIntelNames, family, model, brand);
}

const char* AmdCodeName(std::uint32_t family, std::uint32_t model) {
    return Lookup(kAmdNames, family, model, 0);
}

void NameProcessor(const CpuidRegisters& leaf0, const CpuidRegisters& leaf1, ProcessorInfo& info) {
    info.highestLeaf = leaf0.eax;
    const bool amd = leaf0.ebx == kAuthenticAmd;
    if (!amd && leaf0.ebx != kGenuineIntel) {
        info.name = "Unknown";
        return;
    }
    info.stepping = leaf1.eax & 0xFu;
    info.model = (leaf1.eax >> 4) & 0xFu;
    info.family = (leaf1.eax >> 8) & 0xFu;
    info.type = (leaf1.eax >> 12) & 0x3u;
    info.brand = amd ? 0 : leaf1.ebx & 0xFu;
    info.name = ProcessorTypePrefix(info.type);
    info.name += amd ? AmdCodeName(info.family, info.model)
                     : IntelCodeName(info.family, info.model, info.brand);
    if (info.name.size() > kMaxProcessorNameLength) {
        info.name.resize(kMaxProcessorNameLength);
    }
}

bool HasTimeStampCounter(const CpuidRegisters& leaf1) {
    return (leaf1.edx & (1u << 4)) != 0;
}

std::uint64_t ClockRateHz(std::uint64_t timeStampTicks, std::uint64_t counterTicks,
                          std::uint64_t counterFrequency) {
    if (counterTicks == 0 || counterFrequency == 0) {
        return 0;
    }
    const double seconds =
        static_cast<double>(counterTicks) / static_cast<double>(counterFrequency);
    return static_cast<std::uint64_t>(static_cast<double>(timeStampTicks) / seconds);
}

std::string ProcessorText(const ProcessorInfo& info) {
    char megahertz[40];
    std::snprintf(megahertz, sizeof megahertz, " %.0f MHz",
                  static_cast<double>(info.clockHz) * 1e-6);
    return info.name + megahertz;
}

}  // namespace velmora::diag
