#include "diag/win32/processor_clock.h"

#include <windows.h>

#include <cpuid.h>
#include <x86intrin.h>

namespace velmora::diag {

namespace {

constexpr std::uint32_t kReportSleepMilliseconds = 50;

struct SavedScheduling {
    DWORD priorityClass = 0;
    int threadPriority = THREAD_PRIORITY_NORMAL;
    DWORD_PTR affinity = 0;
    bool affinityKnown = false;
};

SavedScheduling RunAloneAtRealTime() {
    HANDLE process = GetCurrentProcess();
    SavedScheduling saved;
    saved.priorityClass = GetPriorityClass(process);
    saved.threadPriority = GetThreadPriority(GetCurrentThread());
    DWORD_PTR systemAffinity = 0;
    saved.affinityKnown = GetProcessAffinityMask(process, &saved.affinity, &systemAffinity) != 0;
    SetPriorityClass(process, REALTIME_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SetProcessAffinityMask(process, 1);
    return saved;
}

// Affinity, thread priority, then the priority class.
void Restore(const SavedScheduling& saved) {
    HANDLE process = GetCurrentProcess();
    if (saved.affinityKnown) {
        SetProcessAffinityMask(process, saved.affinity);
    }
    SetThreadPriority(GetCurrentThread(), saved.threadPriority);
    if (saved.priorityClass != 0) {
        SetPriorityClass(process, saved.priorityClass);
    }
}

}  // namespace

bool CpuidAvailable() {
    std::uint64_t before = 0;
    std::uint64_t after = 0;
    // Windows x64 code has no red zone, so the stack is free to use here.
    asm volatile(
        "pushfq\n\t"
        "popq %0\n\t"
        "movq %0, %1\n\t"
        "xorq $0x200000, %0\n\t"
        "pushq %0\n\t"
        "popfq\n\t"
        "pushfq\n\t"
        "popq %0\n\t"
        "pushq %1\n\t"
        "popfq"
        : "=&r"(after), "=&r"(before)
        :
        : "cc", "memory");
    return ((before ^ after) & 0x200000u) != 0;
}

CpuidRegisters Cpuid(std::uint32_t leaf) {
    CpuidRegisters r;
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

std::uint64_t MeasureClock(ProcessorInfo& info, std::uint32_t sleepMilliseconds) {
    if (sleepMilliseconds == 0) {
        return info.clockHz;
    }
    LARGE_INTEGER frequency{};
    if (!CpuidAvailable() || !HasTimeStampCounter(Cpuid(1)) ||
        !QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) {
        return 0;
    }
    const SavedScheduling saved = RunAloneAtRealTime();
    Cpuid(0);  // serialises the instructions before the readings
    LARGE_INTEGER counterStart{};
    QueryPerformanceCounter(&counterStart);
    const std::uint64_t stampStart = __rdtsc();
    Sleep(sleepMilliseconds);
    LARGE_INTEGER counterEnd{};
    QueryPerformanceCounter(&counterEnd);
    const std::uint64_t stampEnd = __rdtsc();
    Restore(saved);

    info.clockHz =
        ClockRateHz(stampEnd - stampStart,
                    static_cast<std::uint64_t>(counterEnd.QuadPart - counterStart.QuadPart),
                    static_cast<std::uint64_t>(frequency.QuadPart));
    return info.clockHz;
}

ProcessorInfo IdentifyThisProcessor() {
    ProcessorInfo info;
    if (!CpuidAvailable()) {
        return info;
    }
    MeasureClock(info, kReportSleepMilliseconds);
    const CpuidRegisters leaf0 = Cpuid(0);
    info.highestExtendedLeaf = Cpuid(0x80000000u).eax;
    NameProcessor(leaf0, Cpuid(1), info);
    return info;
}

}  // namespace velmora::diag
