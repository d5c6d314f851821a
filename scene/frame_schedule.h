// When the scene's next frame is due: at the next refresh tick while
// something moves, at a later moment when something will change, or not
// before an event (a picture ready, input). Times count from the last frame.
#pragma once

#include "scene/cube_scene.h"

namespace velmora::scene {

enum class FrameWait {
    Tick,    // something moves: the next frame `ticks` refresh ticks after the last
    Moment,  // nothing moves: the next frame `seconds` after the last
    Event,   // nothing changes until the loader's event or a message
};

struct FrameDue {
    FrameWait wait = FrameWait::Tick;
    int ticks = 1;
    double seconds = 0;
};

// What the overlays showed in the last frame, and the clocks at that frame.
struct OverlayTiming {
    bool frameRate = false;
    bool dateTime = false;
    int framesShown = 0;    // the frame rate on screen
    int framesCounted = 0;  // frames counted since the counter's reset
    double secondsSinceReset = 0;
    std::int32_t loaderStateShown = kLoaderIdle;
    double secondsToNextClockSecond = 1;
};

// True while the cube turns, spins, bounces or zooms, or owes a frame that
// ends a turn.
bool SceneMoves(const CubeScene& scene);

// lessProcessor halves the frame rate while something moves.
FrameDue NextFrameDue(const CubeScene& scene, const OverlayTiming& overlays, bool lessProcessor);

}  // namespace velmora::scene
