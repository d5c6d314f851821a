#include "frame/frame_pacing.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr double kDefaultHertz = 60.0;
// The part of the ticks kept when the swap waits for the refresh itself.
constexpr double kWaitingSwapShare = 0.9;

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
