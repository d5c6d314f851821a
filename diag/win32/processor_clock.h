// The processor's identification and time-stamp instructions, for the
// report's processor line.
#pragma once

#include <cstdint>

#include "diag/processor_name.h"

namespace velmora::diag {

// Bit 21 of the flags register can be toggled.
bool CpuidAvailable();

CpuidRegisters Cpuid(std::uint32_t leaf);

// Time-stamp ticks a second, measured over a sleep of the given length while
// the whole process runs at real-time priority on the first processor only;
// priorities and affinity are restored afterwards. With 0 it returns the last
// measured value. 0, and nothing stored, without CPUID, a time-stamp counter
// or a performance counter.
std::uint64_t MeasureClock(ProcessorInfo& info, std::uint32_t sleepMilliseconds);

// The record of this processor, its clock measured over 50 ms.
ProcessorInfo IdentifyThisProcessor();

}  // namespace velmora::diag
