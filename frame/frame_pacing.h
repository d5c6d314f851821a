// How the message loop paces frames: no faster than the display refreshes,
// and only when the application says a frame is due.
#pragma once

#include <limits>

namespace velmora {

inline constexpr double kNeverMilliseconds = std::numeric_limits<double>::infinity();

// What the application asks of the loop for its next frame.
struct FrameSchedule {
    // On the saver clock: when the next frame is due. At or before now: as
    // soon as the refresh allows; kNeverMilliseconds: not before a message
    // or the wake event.
    double dueMilliseconds = 0;
    // The least spacing of frames, in refresh ticks.
    int refreshTicks = 1;
    // Something moves: each frame follows the last after refreshTicks.
    bool moving = false;
    // The buffer swap itself waits for the display's refresh.
    bool swapWaits = false;
    // An event (a Win32 handle) that makes a frame due without a message.
    void* wakeEvent = nullptr;
};

// One refresh of a display that reports this rate; 60 Hz where it reports
// 0 or 1 (the hardware's default).
double RefreshIntervalMilliseconds(int reportedHertz);

// When the loop draws the next frame: the due moment, but not sooner than
// the refresh ticks after the last frame drawn. A swap that waits for the
// refresh paces the frames itself; the loop keeps most of a tick between
// them only in case it does not really wait (a display without refresh).
double DrawMoment(const FrameSchedule& schedule, double lastDrawnMilliseconds,
                  double refreshIntervalMilliseconds);

// Whether a swap the driver says waits for the refresh really does: frames
// drawn back to back on a waiting swap cannot come faster than the refresh
// on average, so a faster average over a run of them disproves it (a
// display without a refresh, as a virtual one).
class SwapWaitCheck {
public:
    // spacing: from the last frame to this one, which was due `ticks`
    // refresh ticks after it.
    void NoteFrame(double spacingMilliseconds, int ticks, double refreshIntervalMilliseconds);
    bool SwapWaits(bool driverSays) const { return driverSays && !disproved_; }

private:
    int frames_ = 0;
    double spacingShare_ = 0;
    bool disproved_ = false;
};

}  // namespace velmora
