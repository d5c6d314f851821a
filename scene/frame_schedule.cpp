#include "scene/frame_schedule.h"

#include <algorithm>
#include <optional>

namespace velmora::scene {

namespace {

// A moment is asked a little after the change it waits for: the frame-rate
// counter takes its value only after more than a second, and a rest that
// ends a rounding error late would cost a second frame.
constexpr double kPast = 0.001;

// Held at the near end of a zoom: still until the hold has lasted a picture length.
bool HeldNear(const CubeScene& scene) {
    return scene.z >= scene.upperZ && scene.zAcceleration > 0 && scene.zSpeed == 0 &&
           scene.holdTime < scene.pictureSeconds;
}

bool Zooms(const CubeScene& scene) {
    return (scene.zSpeed != 0 || scene.zAcceleration != 0) && !HeldNear(scene);
}

bool Spins(const CubeScene& scene) {
    return scene.spinAngles.x != 0 || scene.spinAngles.y != 0 || scene.spinAngles.z != 0;
}

void Earliest(std::optional<double>& soonest, double seconds) {
    soonest = soonest ? std::min(*soonest, seconds) : seconds;
}

}  // namespace

bool SceneMoves(const CubeScene& scene) {
    const bool turning = scene.timer > 0 || scene.currentFace != scene.targetFace;
    return turning || scene.bouncing != 0 || Spins(scene) || Zooms(scene);
}

FrameDue NextFrameDue(const CubeScene& scene, const OverlayTiming& overlays, bool lessProcessor) {
    if (SceneMoves(scene)) {
        return {FrameWait::Tick, lessProcessor ? 2 : 1, 0};
    }
    std::optional<double> soonest;
    const bool pictureReady = scene.ready.load(std::memory_order_acquire) != 0;
    if (scene.timer > -scene.pictureSeconds) {
        Earliest(soonest, scene.timer + scene.pictureSeconds + kPast);
    } else if (pictureReady) {
        Earliest(soonest, 0);
    }
    if (HeldNear(scene)) {
        Earliest(soonest, scene.pictureSeconds - scene.holdTime + kPast);
    }
    if (overlays.frameRate) {
        if (scene.loaderState.load() != overlays.loaderStateShown) {
            Earliest(soonest, 0);
        }
        // Once a second's count equals the shown value the overlay stays as it is.
        if (overlays.framesCounted + 1 != overlays.framesShown) {
            Earliest(soonest, 1.0 - overlays.secondsSinceReset + kPast);
        }
    }
    if (overlays.dateTime) {
        Earliest(soonest, overlays.secondsToNextClockSecond);
    }
    if (!soonest) {
        return {FrameWait::Event, 1, 0};
    }
    return {FrameWait::Moment, 1, std::max(0.0, *soonest)};
}

}  // namespace velmora::scene
