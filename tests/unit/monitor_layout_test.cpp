// Placing the full-screen window and the scene over the monitors.
#include "frame/monitor_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

using scene::Viewport;

// The primary monitor at (0, 0), 800 x 600, and the others; the virtual
// screen spans them all.
MonitorSnapshot Snapshot(std::vector<ScreenRect> others) {
    const ScreenRect primary{0, 0, 800, 600};
    MonitorSnapshot snapshot{primary, primary, {primary}};
    for (const ScreenRect& m : others) {
        snapshot.monitors.push_back(m);
        ScreenRect& v = snapshot.virtualScreen;
        v = ScreenRect{std::min(v.left, m.left), std::min(v.top, m.top), std::max(v.right, m.right),
                       std::max(v.bottom, m.bottom)};
    }
    return snapshot;
}

TEST(MonitorLayout, TheWindowSpansEveryMonitorAndTheSceneKeepsToThePrimary) {
    const MonitorSnapshot two = Snapshot({{800, 0, 1600, 600}});
    MonitorSnapshot noPrimary = two;
    noPrimary.primary = {};
    struct Case {
        const char* name;
        MonitorSnapshot snapshot;
        ScreenRect window;
        std::optional<Viewport> scene;  // none: the scene fills the window
        std::vector<Viewport> backgroundOnly;
        std::optional<DisplayModeRequest> request = std::nullopt;
    };
    const Case cases[] = {
        {"right of it", two, {0, 0, 1600, 600}, Viewport{0, 0, 800, 600}, {{800, 0, 800, 600}}},
        {"left of it",
         Snapshot({{-1024, 0, 0, 768}}),
         {-1024, 0, 800, 768},
         Viewport{1024, 168, 800, 600},
         {{0, 0, 1024, 768}}},
        {"above it",
         Snapshot({{0, -600, 800, 0}}),
         {0, -600, 800, 600},
         Viewport{0, 0, 800, 600},
         {{0, 600, 800, 600}}},
        {"larger, lower, right",
         Snapshot({{800, 200, 2720, 1280}}),
         {0, 0, 2720, 1280},
         Viewport{0, 680, 800, 600},
         {{800, 0, 1920, 1080}}},
        {"one each side",
         Snapshot({{-640, 0, 0, 480}, {800, -100, 1600, 500}}),
         {-640, -100, 1600, 600},
         Viewport{640, 0, 800, 600},
         {{0, 120, 640, 480}, {1440, 100, 800, 600}}},
        {"a mirror of it is left out",
         Snapshot({{0, 0, 640, 480}, {800, 0, 1600, 600}}),
         {0, 0, 1600, 600},
         Viewport{0, 0, 800, 600},
         {{800, 0, 800, 600}}},
        {"one monitor", Snapshot({}), {0, 0, 800, 600}, std::nullopt, {}},
        {"stacked on it", Snapshot({{0, 0, 800, 600}}), {0, 0, 800, 600}, std::nullopt, {}},
        {"nothing reported", MonitorSnapshot{}, {0, 0, 800, 600}, std::nullopt, {}},
        {"no primary", noPrimary, {0, 0, 800, 600}, std::nullopt, {}},
        {"switched", two, {0, 0, 640, 480}, std::nullopt, {}, DisplayModeRequest{640, 480, 32, 60}},
        {"restore only", two, {0, 0, 800, 600}, std::nullopt, {}, DisplayModeRequest{0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FullScreenLayout layout = PlanFullScreenWindow(c.request, {800, 600}, c.snapshot);
        EXPECT_EQ(layout.window, c.window);
        ASSERT_EQ(layout.viewports.has_value(), c.scene.has_value());
        if (c.scene) {
            EXPECT_EQ(layout.viewports->scene, *c.scene);
            EXPECT_EQ(layout.viewports->backgroundOnly, c.backgroundOnly);
        }
    }
}

}  // namespace
}  // namespace velmora
