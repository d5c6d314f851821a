// When the next frame is due, for each state of the scene and each overlay.
#include "scene/frame_schedule.h"

#include <gtest/gtest.h>

#include <functional>

namespace velmora::scene {
namespace {

struct DueCase {
    const char* name;
    std::function<void(CubeScene&, OverlayTiming&)> set;
    bool lessProcessor;
    FrameWait wait;
    int ticks;
    double seconds;
};

// A large cube resting on face 0 for 4 s, one second into the rest.
void Resting(CubeScene& scene) {
    scene.pictureSeconds = 4;
    scene.rotationSeconds = 2;
    scene.timer = -1;
}

TEST(FrameSchedule, NextFrameDueForEachStateAndOverlay) {
    const DueCase cases[] = {
        {"resting", [](CubeScene&, OverlayTiming&) {}, false, FrameWait::Moment, 1, 3.001},
        {"resting, less processor", [](CubeScene&, OverlayTiming&) {}, true, FrameWait::Moment, 1,
         3.001},
        {"turning", [](CubeScene& s, OverlayTiming&) { s.timer = 1; }, false, FrameWait::Tick, 1,
         0},
        {"turning, less processor", [](CubeScene& s, OverlayTiming&) { s.timer = 1; }, true,
         FrameWait::Tick, 2, 0},
        {"the frame that ends a turn",
         [](CubeScene& s, OverlayTiming&) {
             s.timer = 0;
             s.targetFace = 2;
         },
         false, FrameWait::Tick, 1, 0},
        {"rest over, no picture yet", [](CubeScene& s, OverlayTiming&) { s.timer = -5; }, false,
         FrameWait::Event, 1, 0},
        {"rest over, picture ready",
         [](CubeScene& s, OverlayTiming&) {
             s.timer = -5;
             s.ready.store(1);
         },
         false, FrameWait::Moment, 1, 0},
        {"bouncing", [](CubeScene& s, OverlayTiming&) { s.bouncing = 1; }, false, FrameWait::Tick,
         1, 0},
        {"spinning", [](CubeScene& s, OverlayTiming&) { s.spinAngles.y = -0.5f; }, false,
         FrameWait::Tick, 1, 0},
        {"zooming",
         [](CubeScene& s, OverlayTiming&) {
             s.zSpeed = 5;
             s.zAcceleration = 30;
         },
         false, FrameWait::Tick, 1, 0},
        {"zoom held near, hold ends first",
         [](CubeScene& s, OverlayTiming&) {
             s.z = s.upperZ;
             s.zAcceleration = 30;
             s.holdTime = 3.5f;
         },
         false, FrameWait::Moment, 1, 0.501},
        {"clock overlay", [](CubeScene&, OverlayTiming& o) { o.dateTime = true; }, false,
         FrameWait::Moment, 1, 1.0},
        {"frame rate still changing",
         [](CubeScene&, OverlayTiming& o) {
             o.frameRate = true;
             o.framesShown = 60;
             o.framesCounted = 1;
             o.secondsSinceReset = 0.4;
         },
         false, FrameWait::Moment, 1, 0.601},
        {"frame rate settled",
         [](CubeScene&, OverlayTiming& o) {
             o.frameRate = true;
             o.framesShown = 1;
         },
         false, FrameWait::Moment, 1, 3.001},
        {"loading indicator to change",
         [](CubeScene& s, OverlayTiming& o) {
             o.frameRate = true;
             o.framesShown = 1;
             s.loaderState.store(kLoaderLoading);
         },
         false, FrameWait::Moment, 1, 0},
        {"loader busy, no indicator shown",
         [](CubeScene& s, OverlayTiming&) { s.loaderState.store(kLoaderLoading); }, false,
         FrameWait::Moment, 1, 3.001},
    };
    for (const DueCase& c : cases) {
        SCOPED_TRACE(c.name);
        CubeScene scene;
        Resting(scene);
        OverlayTiming overlays;
        c.set(scene, overlays);
        const FrameDue due = NextFrameDue(scene, overlays, c.lessProcessor);
        EXPECT_EQ(due.wait, c.wait);
        EXPECT_EQ(due.ticks, c.ticks);
        EXPECT_NEAR(due.seconds, c.seconds, 1e-4);
    }
}

}  // namespace
}  // namespace velmora::scene
