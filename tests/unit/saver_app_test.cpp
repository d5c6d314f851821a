// The application objects' base operations, version text, keys and full-screen window.
#include <gtest/gtest.h>

#include <memory>

#include "base/run_mode.h"
#include "frame/cube_saver_app.h"
#include "frame/full_screen_mode.h"

namespace velmora {
namespace {

TEST(SaverApp, StartsNotStartedUnpausedWithTheReservedByteClear) {
    CubeSaverApp app;
    EXPECT_EQ(app.notStarted, 1);
    EXPECT_EQ(app.reserved, 0);
    EXPECT_EQ(app.paused, 0);
}

TEST(SaverApp, BaseOperationsSucceedAndConsumeNothing) {
    SaverApp app;
    EXPECT_EQ(app.Start(nullptr, nullptr), S_OK);
    EXPECT_EQ(app.Frame(nullptr, nullptr), S_OK);
    EXPECT_EQ(app.Paint(nullptr, nullptr), S_OK);
    EXPECT_EQ(app.Finish(nullptr, nullptr), S_OK);
    EXPECT_EQ(app.MessageHook(nullptr, 0x0100, 'A', 0), 0);
    EXPECT_EQ(app.BeforePageMessage(nullptr, 0x0110, 0, 0), 0);
    EXPECT_EQ(app.AfterPageMessage(nullptr, 0x0110, 0, 0), 0);
}

TEST(SaverApp, VersionTextFormatsTheProgramVersion) {
    std::unique_ptr<SaverApp> app = std::make_unique<CubeSaverApp>();
    EXPECT_EQ(app->VersionText(), "1.1");
}

TEST(SaverApp, StatusValuesHaveTheSystemsNumbers) {
    EXPECT_EQ(static_cast<std::uint32_t>(E_FAIL), 0x80004005u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_OUTOFMEMORY), 0x8007000Eu);
    EXPECT_EQ(static_cast<std::uint32_t>(E_INVALIDARG), 0x80070057u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_POINTER), 0x80004003u);
    EXPECT_EQ(static_cast<std::uint32_t>(E_NOTIMPL), 0x80004001u);
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
}

TEST(RunMode, ValuesAndProcessDefaults) {
    EXPECT_EQ(static_cast<int>(RunMode::Settings), 1);
    EXPECT_EQ(static_cast<int>(RunMode::ChangePassword), 2);
    EXPECT_EQ(static_cast<int>(RunMode::Preview), 3);
    EXPECT_EQ(static_cast<int>(RunMode::FullScreen), 4);
    EXPECT_EQ(Process().app, nullptr);
    EXPECT_EQ(Process().saverWindow, nullptr);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST(CubeSaverAppKeys, AAndSBelongToTheSceneAndOtherKeysEndTheSaver) {
    CubeSaverApp app;
    constexpr unsigned kKeyDown = 0x0100;
    constexpr unsigned kKeyUp = 0x0101;
    app.scene.Scene().timer = 0.3f;  // a turn is running
    EXPECT_EQ(app.MessageHook(nullptr, kKeyDown, 'A', 0), 1);
    EXPECT_EQ(app.scene.Scene().timer, 0.0f);
    EXPECT_EQ(app.MessageHook(nullptr, kKeyDown, 'S', 0), 1);
    EXPECT_FLOAT_EQ(app.scene.Scene().spinSlowdown.x, 2.0f);
    EXPECT_EQ(app.MessageHook(nullptr, kKeyDown, 'B', 0), 0);
    EXPECT_EQ(app.MessageHook(nullptr, kKeyDown, 0x1B, 0), 0);
    EXPECT_EQ(app.MessageHook(nullptr, kKeyUp, 'A', 0), 0);
}

TEST(FullScreenMode, TheWindowCoversTheScreenUnlessTheModeReallySwitches) {
    struct Case {
        int useOther, width, height, depth, refresh;
        bool request;
        WindowSize window;
    };
    const WindowSize screen{1280, 1024};
    for (const Case& c : {
             Case{0, 800, 600, 32, 60, false, screen},
             Case{1, 800, 600, 32, 60, true, {800, 600}},
             Case{1, 800, 600, 32, 0, true, {800, 600}},
             Case{1, 0, 0, 0, 0, true, screen},
             Case{1, 0, 600, 32, 60, true, screen},
             Case{1, 800, 0, 32, 60, true, screen},
             Case{1, 800, 600, 0, 60, true, screen},
         }) {
        SCOPED_TRACE(::testing::Message() << c.useOther << " " << c.width << "x" << c.height << "x"
                                          << c.depth << " " << c.refresh);
        settings::SaverSettings s;
        s.UseOtherResolution = c.useOther;
        s.ScreenWidth = c.width;
        s.ScreenHeight = c.height;
        s.ColorDepth = c.depth;
        s.RefreshRate = c.refresh;
        const std::optional<DisplayModeRequest> request = FullScreenModeRequest(s);
        EXPECT_EQ(request.has_value(), c.request);
        const WindowSize window = FullScreenWindowSize(request, screen);
        EXPECT_EQ(window.width, c.window.width);
        EXPECT_EQ(window.height, c.window.height);
    }
}

}  // namespace
}  // namespace velmora
