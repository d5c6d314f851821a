// The processor line of the system report: the processor named from its
// CPUID values, and its clock rate from the counters read around a sleep.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::diag {

struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// Built fresh for each report.
struct ProcessorInfo {
    std::uint64_t clockHz = 0;
    std::string name;  // at most kMaxProcessorNameLength characters
    std::uint32_t highestLeaf = 0;
    std::uint32_t highestExtendedLeaf = 0;
    std::uint32_t stepping = 0;
    std::uint32_t model = 0;
    std::uint32_t family = 0;
    std::uint32_t type = 0;
    std::uint32_t brand = 0;
};

inline constexpr std::size_t kMaxProcessorNameLength = 127;

// Fills the leaf-1 fields and the name from CPUID leaves 0 and 1; a vendor
// other than AMD or Intel is named "Unknown".
void NameProcessor(const CpuidRegisters& leaf0, const CpuidRegisters& leaf1, ProcessorInfo& info);

const char* ProcessorTypePrefix(std::uint32_t type);
const char* IntelCodeName(std::uint32_t family, std::uint32_t model, std::uint32_t brand);
const char* AmdCodeName(std::uint32_t family, std::uint32_t model);

// Leaf 1 reports a time-stamp counter.
bool HasTimeStampCounter(const CpuidRegisters& leaf1);

// Time-stamp ticks a second, from the ticks of both counters over the same
// span; 0 when the performance counter did not move.
std::uint64_t ClockRateHz(std::uint64_t timeStampTicks, std::uint64_t counterTicks,
                          std::uint64_t counterFrequency);

// "name clock MHz", the clock in whole MHz.
std::string ProcessorText(const ProcessorInfo& info);

}  // namespace velmora::diag
