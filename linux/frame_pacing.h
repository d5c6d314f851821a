// When the hack draws its next frame: the scene's answer in the host's terms,
// with --delay as the refresh tick.
#pragma once

#include <optional>

#include "scene/frame_schedule.h"

namespace velmora::host {

// The moment (milliseconds on the frame clock) of the frame after one that
// began at frameStart; never sooner than one tick after it. Empty when
// nothing changes before the loader's event, a signal or a window event.
std::optional<double> NextFrameMoment(const scene::FrameDue& due, double frameStart,
                                      double tickMilliseconds);

}  // namespace velmora::host
