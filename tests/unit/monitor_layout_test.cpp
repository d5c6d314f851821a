#include "frame/monitor_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

using scene::Viewport;

MonitorSnapshot Snapshot(ScreenRect primary, std::vector<ScreenRect> others) {
    MonitorSnapshot snapshot;
    snapshot.primary = primary;
    snapshot.virtualScreen = primary;
    snapshot.monitors.push_back(primary);
    snapshot.monitors.insert(snapshot.monitors.end(), others.begin(), others.end());
    // The system's virtual screen spans them all.
    for (const ScreenRect& m : snapshot.monitors) {
        ScreenRect& v = snapshot.virtualScreen;
        v = ScreenRect{std::min(v.left, m.left), std::min(v.top, m.top), std::max(v.right, m.right),
                       std::max(v.bottom, m.bottom)};
    }
    return snapshot;
}

TEST(MonitorLayout, TheWindowSpansEveryMonitorAndTheSceneKeepsToThePrimary) {
    const ScreenRect primary{0, 0, 800, 600};
    struct Case {
        const char* name;
        std::vector<ScreenRect> others;
        ScreenRect window;
        Viewport scene;
        std::vector<Viewport> backgroundOnly;
    };
    const Case cases[] = {
        {"right of it",
         {{800, 0, 1600, 600}},
         {0, 0, 1600, 600},
         {0, 0, 800, 600},
         {{800, 0, 800, 600}}},
        {"left of it",
         {{-1024, 0, 0, 768}},
         {-1024, 0, 800, 768},
         {1024, 168, 800, 600},
         {{0, 0, 1024, 768}}},
        {"above it",
         {{0, -600, 800, 0}},
         {0, -600, 800, 600},
         {0, 0, 800, 600},
         {{0, 600, 800, 600}}},
        {"larger, lower, right",
         {{800, 200, 2720, 1280}},
         {0, 0, 2720, 1280},
         {0, 680, 800, 600},
         {{800, 0, 1920, 1080}}},
        {"one each side",
         {{-640, 0, 0, 480}, {800, -100, 1600, 500}},
         {-640, -100, 1600, 600},
         {640, 0, 800, 600},
         {{0, 120, 640, 480}, {1440, 100, 800, 600}}},
        {"a mirror of it is left out",
         {{0, 0, 640, 480}, {800, 0, 1600, 600}},
         {0, 0, 1600, 600},
         {0, 0, 800, 600},
         {{800, 0, 800, 600}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FullScreenLayout layout =
            PlanFullScreenWindow(std::nullopt, {800, 600}, Snapshot(primary, c.others));
        EXPECT_EQ(layout.window, c.window);
        ASSERT_TRUE(layout.viewports.has_value());
        EXPECT_EQ(layout.viewports->scene, c.scene);
        EXPECT_EQ(layout.viewports->backgroundOnly, c.backgroundOnly);
    }
}

TEST(MonitorLayout, OneMonitorAModeSwitchOrNoPrimaryFillTheScreenAsBefore) {
    const ScreenRect primary{0, 0, 800, 600};
    const MonitorSnapshot two = Snapshot(primary, {{800, 0, 1600, 600}});
    MonitorSnapshot noPrimary = two;
    noPrimary.primary = {};
    struct Case {
        const char* name;
        std::optional<DisplayModeRequest> request;
        MonitorSnapshot snapshot;
        ScreenRect window;
    };
    const Case cases[] = {
        {"one monitor", std::nullopt, Snapshot(primary, {}), {0, 0, 800, 600}},
        {"stacked on it", std::nullopt, Snapshot(primary, {{0, 0, 800, 600}}), {0, 0, 800, 600}},
        {"nothing reported", std::nullopt, MonitorSnapshot{}, {0, 0, 800, 600}},
        {"no primary", std::nullopt, noPrimary, {0, 0, 800, 600}},
        {"switched", DisplayModeRequest{640, 480, 32, 60}, two, {0, 0, 640, 480}},
        {"restore only", DisplayModeRequest{0, 0, 0, 0}, two, {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FullScreenLayout layout = PlanFullScreenWindow(c.request, {800, 600}, c.snapshot);
        EXPECT_EQ(layout.window, c.window);
        EXPECT_FALSE(layout.viewports.has_value());
    }
}

}  // namespace
}  // namespace velmora
