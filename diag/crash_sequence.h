// The order of a crash filter's work, and who does it. A crashed process may
// fault again inside the filter, or on several threads at once: the first
// faulting thread owns the work, each step runs at most once (a step that
// faulted is skipped, not repeated), and every other thread waits.
#pragma once

#include <atomic>
#include <cstdint>

namespace velmora::diag {

enum class CrashStep : int {
    GiveDesktopBack,  // saver-running flag off, display mode restored
    WriteDump,        // on the dump worker, waited for with a bound
    Report,           // the message box, or the log
    End,              // the process ends
};

enum class CrashEntry {
    First,        // this thread owns the work
    Again,        // the owner faulted inside its own work
    OtherThread,  // another thread owns the work
};

class CrashSequence {
public:
    CrashEntry Enter(std::uint32_t threadId);

    // The next step for the owner; End once every step was handed out.
    CrashStep Claim();

    // The step the owner was handed last.
    CrashStep Current() const;

private:
    std::atomic<std::uint32_t> owner_{0};
    std::atomic<int> next_{0};
};

// How long the owner waits for the dump worker. A healthy process opens the
// dump file at once; one that cannot (its heap locked by a thread that will
// never let go) will not write a dump either, so it is given up early.
// Writing a large dump under load takes tens of seconds.
inline constexpr std::uint32_t kDumpOpenWaitMs = 5000;
inline constexpr std::uint32_t kDumpWriteWaitMs = 60000;

bool KeepWaitingForDump(std::uint32_t elapsedMs, bool fileOpened);

// Another faulting thread waits for the owner to end the process. Past the
// owner's own bounds it ends the process itself, unless the owner is showing
// the message box: then the user decides when the work is done.
inline constexpr std::uint32_t kOtherThreadWaitMs = kDumpWriteWaitMs + 10000;

bool KeepWaitingForOwner(std::uint32_t elapsedMs, CrashStep ownerStep, bool reportIsBox);

}  // namespace velmora::diag
