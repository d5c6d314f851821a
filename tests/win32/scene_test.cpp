// The cube scene in a real window under Wine: what is on screen after the
// start, after a turn, with each background, with glass and overlays, and
// what is left after the end.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/gl_device.h"
#include "scene/cube_scene_runner.h"
#include "tests/win32/plain_window.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

using namespace velmora::scene;

constexpr int kWidth = 128;
constexpr int kHeight = 96;

// A 24-bit BMP of one colour.
void WriteSolidBmp(const std::string& path, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const int side = 32;
    const int rowBytes = side * 3;
    std::vector<std::uint8_t> file(54 + rowBytes * side, 0);
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, side);
    put32(22, side);
    file[26] = 1;
    file[28] = 24;
    for (int i = 54; i + 2 < static_cast<int>(file.size()); i += 3) {
        file[i] = b, file[i + 1] = g, file[i + 2] = r;
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
}

class SceneOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Valid());
        red_ = folder_.File("1-red.bmp");
        green_ = folder_.File("2-green.bmp");
        blue_ = folder_.File("3-blue.bmp");
        WriteSolidBmp(red_, 230, 20, 20);
        WriteSolidBmp(green_, 20, 230, 20);
        WriteSolidBmp(blue_, 20, 20, 230);
        settings_.PictureSeconds = 1;
        settings_.RotationSeconds = 1;
        settings_.ShufflePictures = 0;
        settings_.CubeGlass = settings::cube_glass::Disabled;
        settings_.BackgroundKind = settings::background_kind::SolidColor;
    }

    void Start(std::vector<std::string> pictures, OverlaySwitches overlays = {}) {
        runner_ = std::make_unique<CubeSceneRunner>(device_, random_);
        ASSERT_EQ(runner_->Start(window_.Handle(), settings_, overlays, std::move(pictures), false),
                  S_OK);
    }

    void Frame(float dt = 0.02f) {
        now_ += dt * 1000.0;
        ASSERT_EQ(runner_->Frame(dt, now_), S_OK);
    }

    // Reads what the last frame drew: llvmpipe presents by copying, so the
    // back buffer still holds the frame after the swap.
    std::array<int, 3> Pixel(int x, int y) {
        std::uint8_t p[4] = {};
        glFinish();
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    int LitPixels(int x0, int y0, int x1, int y1, int threshold = 60) {
        std::vector<std::uint8_t> pixels(kWidth * kHeight * 4);
        glFinish();
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        int lit = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint8_t* p = &pixels[(y * kWidth + x) * 4];
                lit += (p[0] + p[1] + p[2] > threshold) ? 1 : 0;
            }
        }
        return lit;
    }

    TempFolder folder_;
    std::string red_, green_, blue_;
    settings::CubeSettings settings_;
    PlainWindow window_{kWidth, kHeight};
    engine::GlDevice device_;
    RandomGenerator random_{77};
    std::unique_ptr<CubeSceneRunner> runner_;
    double now_ = 0;
};

bool IsRed(const std::array<int, 3>& p) {
    return p[0] > 150 && p[1] < 80 && p[2] < 80;
}
bool IsGreen(const std::array<int, 3>& p) {
    return p[1] > 150 && p[0] < 80 && p[2] < 80;
}

TEST_F(SceneOnScreen, TheFirstPictureThenAfterATurnTheNext) {
    Start({red_, green_, blue_});
    Frame();
    EXPECT_TRUE(IsRed(Pixel(kWidth / 2, kHeight / 2)));
    EXPECT_EQ(Pixel(1, 1)[0], 0);  // black around the cube

    // Picture length, then the turn as soon as the loader has the next one.
    for (int i = 0; i < 500 && runner_->Scene().currentFace == 0; ++i) {
        Frame();
        Sleep(5);
    }
    ASSERT_NE(runner_->Scene().currentFace, 0);
    Frame();
    const auto centre = Pixel(kWidth / 2, kHeight / 2);
    EXPECT_TRUE(IsGreen(centre)) << centre[0] << "," << centre[1] << "," << centre[2];
    runner_->Finish();
}

TEST_F(SceneOnScreen, AStarFieldDrawsPointsAroundTheCube) {
    settings_.BackgroundKind = settings::background_kind::StarField;
    Start({red_});
    Frame();
    // Left and right strips are outside the cube.
    EXPECT_GT(LitPixels(0, 0, 12, kHeight, 30) + LitPixels(kWidth - 12, 0, kWidth, kHeight, 30), 3);
    runner_->Finish();
}

TEST_F(SceneOnScreen, TheFirstPictureCanBeTheBackground) {
    settings_.BackgroundKind = settings::background_kind::FirstPicture;
    Start({red_, green_});
    Frame();
    EXPECT_TRUE(IsRed(Pixel(2, 2)));
    EXPECT_TRUE(IsRed(Pixel(kWidth - 3, kHeight - 3)));
    runner_->Finish();
}

// A window over two monitors: the scene on the left half, the right half
// showing the background alone.
TEST_F(SceneOnScreen, AnotherMonitorShowsTheBackgroundAndNoCube) {
    struct Case {
        std::int32_t background;
        bool redRightHalf;  // the first picture stretched over it
        bool starsRightHalf;
    };
    const Case cases[] = {
        {settings::background_kind::SolidColor, false, false},
        {settings::background_kind::FirstPicture, true, false},
        {settings::background_kind::StarField, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.background);
        settings_.BackgroundKind = c.background;
        runner_ = std::make_unique<CubeSceneRunner>(device_, random_);
        runner_->SetViewports(
            SceneViewports{{0, 0, kWidth / 2, kHeight}, {{kWidth / 2, 0, kWidth / 2, kHeight}}});
        ASSERT_EQ(runner_->Start(window_.Handle(), settings_, {}, {red_, green_}, false), S_OK);
        Frame();
        EXPECT_TRUE(IsRed(Pixel(kWidth / 4, kHeight / 2)));
        const auto right = Pixel(kWidth * 3 / 4, kHeight / 2);
        EXPECT_EQ(IsRed(right), c.redRightHalf) << right[0] << "," << right[1] << "," << right[2];
        EXPECT_EQ(IsRed(Pixel(kWidth - 3, 2)), c.redRightHalf);
        EXPECT_EQ(LitPixels(kWidth / 2, 0, kWidth, kHeight, 30) > 3,
                  c.redRightHalf || c.starsRightHalf);
        runner_->Finish();
    }
}

TEST_F(SceneOnScreen, GlassTintsTheFacesSlightly) {
    Start({red_});
    Frame();
    const auto bare = Pixel(kWidth / 2, kHeight / 2);
    runner_->Finish();
    settings_.CubeGlass = settings::cube_glass::SkyBlue;
    Start({red_});
    Frame();
    const auto glazed = Pixel(kWidth / 2, kHeight / 2);
    const int difference = std::abs(bare[0] - glazed[0]) + std::abs(bare[1] - glazed[1]) +
                           std::abs(bare[2] - glazed[2]);
    EXPECT_GT(difference, 2);
    EXPECT_LT(difference, 90);
    EXPECT_TRUE(IsRed(glazed));
    runner_->Finish();
}

TEST_F(SceneOnScreen, FrameRateAndPictureNameOverlaysDrawText) {
    settings_.CubeStyle = settings::cube_style::SmallCube;  // keep the edges clear
    Start({red_});
    Frame();
    const int plainTop = LitPixels(0, kHeight - 12, kWidth, kHeight);
    runner_->Finish();
    OverlaySwitches overlays;
    overlays.frameRate = true;
    overlays.pictureNames = true;
    Start({red_}, overlays);
    Frame();
    const int textTop = LitPixels(0, kHeight - 12, kWidth, kHeight);
    EXPECT_GT(textTop, plainTop + 10);
    runner_->Finish();
}

TEST_F(SceneOnScreen, AFileThatIsNoPictureShowsTheDefaultPicture) {
    const std::string bogus = folder_.File("broken.bmp");
    FILE* out = std::fopen(bogus.c_str(), "wb");
    std::fputs("BM this is not a bitmap", out);
    std::fclose(out);
    // Nor one the system's decoders can read.
    for (const std::string& file : {bogus, PathBesideTestProgram("fixtures\\broken.heic")}) {
        Start({file});
        Frame();
        ASSERT_NE(runner_->Scene().faceTextures[0], nullptr);
        EXPECT_STREQ(runner_->Scene().faceTextures[0]->Name(), "No picture");
        const auto centre = Pixel(kWidth / 2, kHeight / 2);
        EXPECT_GT(centre[0] + centre[1] + centre[2], 30);
        runner_->Finish();
    }
}

// A TIFF and a GIF, which only the system's decoders read, reach the cube.
TEST_F(SceneOnScreen, PicturesForTheSystemsDecodersShowToo) {
    Start(
        {PathBesideTestProgram("fixtures\\red.tif"), PathBesideTestProgram("fixtures\\blue.gif")});
    Frame();
    EXPECT_TRUE(IsRed(Pixel(kWidth / 2, kHeight / 2)));
    for (int i = 0; i < 500 && runner_->Scene().currentFace == 0; ++i) {
        Frame();
        Sleep(5);
    }
    Frame();
    const auto centre = Pixel(kWidth / 2, kHeight / 2);
    EXPECT_TRUE(centre[2] > 150 && centre[0] < 80 && centre[1] < 80)
        << centre[0] << "," << centre[1] << "," << centre[2];
    runner_->Finish();
}

TEST_F(SceneOnScreen, FinishLeavesNoThreadAndNoTexture) {
    Start({red_, green_, blue_});
    for (int i = 0; i < 20; ++i) {
        Frame();
    }
    ASSERT_EQ(runner_->Finish(), S_OK);
    CubeScene& scene = runner_->Scene();
    // Asked to stop, the loader ends by itself; the scene joins it when it goes.
    EXPECT_TRUE(scene.loaderThread.WaitForEnd(2000));
    EXPECT_FALSE(scene.loaderRunning.load());
    for (const auto& texture : scene.faceTextures) {
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_EQ(device_.CachedTextureCount(), 0u);
    EXPECT_FALSE(device_.IsAttached());
    EXPECT_EQ(runner_->FontTexture()->GlName(), 0u);
}

}  // namespace
}  // namespace velmora::testing
