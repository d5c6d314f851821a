#include "frame/frame_pacing.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr double kDefaultHertz = 60.0;
// The part of the ticks kept when the swap waits for the refresh itself.
constexpr double kWaitingSwapShare = 0.9;
// Frames judged at once, and the average spacing (in ticks) below which
// the swap cannot have waited.
constexpr int kJudgedFrames = 60;
constexpr double kTooFast = 0.96;

}  // namespace

double RefreshIntervalMilliseconds(int reportedHertz) {
    const double hertz = reportedHertz > 1 ? reportedHertz : kDefaultHertz;
    return 1000.0 / hertz;
}

double DrawMoment(const FrameSchedule& schedule, double lastDrawnMilliseconds,
                  double refreshIntervalMilliseconds) {
    if (schedule.dueMilliseconds == kNeverMilliseconds) {
        return kNeverMilliseconds;
    }
    const double share = schedule.swapWaits ? kWaitingSwapShare : 1.0;
    const double earliest = lastDrawnMilliseconds + std::max(1, schedule.refreshTicks) *
                                                        refreshIntervalMilliseconds * share;
    return std::max(schedule.dueMilliseconds, earliest);
}

}  // namespace velmora

namespace velmora {

void SwapWaitCheck::NoteFrame(double spacingMilliseconds, int ticks,
                              double refreshIntervalMilliseconds) {
    spacingShare_ += spacingMilliseconds / (std::max(1, ticks) * refreshIntervalMilliseconds);
    if (++frames_ < kJudgedFrames) {
        return;
    }
    if (spacingShare_ / frames_ < kTooFast) {
        disproved_ = true;
    }
    frames_ = 0;
    spacingShare_ = 0;
}

}  // namespace velmora
