#include "linux/frame_pacing.h"

#include <algorithm>

namespace velmora::host {

std::optional<double> NextFrameMoment(const scene::FrameDue& due, double frameStart,
                                      double tickMilliseconds) {
    switch (due.wait) {
        case scene::FrameWait::Tick:
            return frameStart + std::max(1, due.ticks) * tickMilliseconds;
        case scene::FrameWait::Moment:
            return frameStart + std::max(due.seconds * 1000.0, tickMilliseconds);
        case scene::FrameWait::Event:
            break;
    }
    return std::nullopt;
}

}  // namespace velmora::host
