#include "diag/crash_sequence.h"

#include <algorithm>

namespace velmora::diag {

CrashEntry CrashSequence::Enter(std::uint32_t threadId) {
    std::uint32_t expected = 0;
    if (owner_.compare_exchange_strong(expected, threadId)) {
        return CrashEntry::First;
    }
    return expected == threadId ? CrashEntry::Again : CrashEntry::OtherThread;
}

CrashStep CrashSequence::Claim() {
    const int step = next_.fetch_add(1);
    return step >= static_cast<int>(CrashStep::End) ? CrashStep::End : static_cast<CrashStep>(step);
}

CrashStep CrashSequence::Current() const {
    const int handed = next_.load() - 1;
    return handed < 0 ? CrashStep::GiveDesktopBack
                      : static_cast<CrashStep>(std::min(handed, static_cast<int>(CrashStep::End)));
}

bool KeepWaitingForDump(std::uint32_t elapsedMs, bool fileOpened) {
    return elapsedMs < (fileOpened ? kDumpWriteWaitMs : kDumpOpenWaitMs);
}

bool KeepWaitingForOwner(std::uint32_t elapsedMs, CrashStep ownerStep, bool reportIsBox) {
    return elapsedMs < kOtherThreadWaitMs || (ownerStep == CrashStep::Report && reportIsBox);
}

}  // namespace velmora::diag
