// The picture loader thread, the decoding size limit and the scene's meshes.
#include "scene/picture_loading.h"

#include <gtest/gtest.h>
#include <png.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "base/platform.h"
#include "scene/scene_meshes.h"
#include "tests/support/picture_samples.h"
#include "tests/support/read_gate.h"

namespace velmora::scene {
namespace {

using picture::testing::TempFile;

TEST(PictureLoading, TheLoaderKeepsExactlyOnePictureAhead) {
    CubeScene scene;
    std::atomic<int> loads{0};
    ASSERT_TRUE(StartLoader(scene, [&](Texture* texture) {
        texture->SetName(std::to_string(++loads).c_str());
        return S_OK;
    }));
    while (scene.ready.load() == 0) {
        platform::SleepMilliseconds(1);
    }
    EXPECT_EQ(scene.loaderState.load(), kLoaderLoaded);
    platform::SleepMilliseconds(100);
    EXPECT_EQ(loads.load(), 1);  // waits for the cube to reach the new face

    // The main thread takes the picture and the turn ends.
    auto taken = std::move(scene.pendingTexture);
    EXPECT_STREQ(taken->Name(), "1");
    scene.pendingTexture = std::make_unique<Texture>();
    scene.ready.store(0);
    platform::SleepMilliseconds(50);
    EXPECT_EQ(loads.load(), 1);
    scene.faceReached.store(1);
    while (scene.ready.load() == 0) {
        platform::SleepMilliseconds(1);
    }
    EXPECT_EQ(loads.load(), 2);
    EXPECT_STREQ(scene.pendingTexture->Name(), "2");

    StopLoader(scene);
    EXPECT_FALSE(scene.loaderRunning.load());
    EXPECT_TRUE(scene.loaderThread.WaitForEnd(0));
}

// A scene destroyed without the end of a run (as after a failed start), its
// loader either stuck in a read or waiting for the turn: the scene stops the
// loader and waits for it before the pending texture goes, and never hangs.
struct TeardownCase {
    const char* name;
    bool readBlocks;
};

void PrintTo(const TeardownCase& c, std::ostream* out) {
    *out << c.name;
}

class SceneDestroyedWithoutFinish : public ::testing::TestWithParam<TeardownCase> {};

TEST_P(SceneDestroyedWithoutFinish, StopsAndWaitsForItsLoader) {
    using namespace std::chrono_literals;
    // Shared with the thread that destroys the scene, which a hang leaves behind.
    struct State {
        velmora::testing::ReadGate gate;
        std::unique_ptr<CubeScene> scene = std::make_unique<CubeScene>();
        std::promise<bool> destroyed;  // whether the read had ended by then
    };
    auto state = std::make_shared<State>();
    if (!GetParam().readBlocks) {
        state->gate.Open();
    }
    ASSERT_TRUE(StartLoader(
        *state->scene, [gate = &state->gate](Texture* texture) { return gate->Read(texture); }));
    ASSERT_TRUE(state->gate.WaitUntilEntered(5s));
    for (int i = 0; i < 500 && !GetParam().readBlocks && state->scene->ready.load() == 0; ++i) {
        platform::SleepMilliseconds(10);
    }

    std::future<bool> destroyed = state->destroyed.get_future();
    std::thread destroyer([state] {
        state->scene.reset();
        state->destroyed.set_value(state->gate.Finished());
    });
    if (GetParam().readBlocks) {
        platform::SleepMilliseconds(100);
        state->gate.Open();
    }
    if (destroyed.wait_for(5s) != std::future_status::ready) {
        destroyer.detach();
        FAIL() << "the scene waits for ever for its loader";
    }
    destroyer.join();
    EXPECT_TRUE(destroyed.get()) << "the scene went while its loader was reading";
}

INSTANTIATE_TEST_SUITE_P(PictureLoading, SceneDestroyedWithoutFinish,
                         ::testing::Values(TeardownCase{"StuckInARead", true},
                                           TeardownCase{"WaitingForTheTurn", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLoading, PicturesAreDecodedToTheSizeLimitAndFailuresShowTheDefault) {
    RandomGenerator random(3);
    picture::testing::Bytes rgb(40 * 20 * 3, 90);
    TempFile good("good.png", picture::testing::EncodePng(40, 20, PNG_COLOR_TYPE_RGB, 8, rgb));
    TempFile bad("bad.jpg", picture::testing::Bytes{'n', 'o', 't'});
    CubeScene scene;
    scene.textureSizeLimit = 64;
    scene.keepAspect = 1;
    scene.fillColour[0] = 7;
    scene.pictureList = {good.Path(), bad.Path()};

    Texture texture;
    ASSERT_EQ(LoadNextPicture(scene, &texture, false, random), S_OK);
    EXPECT_EQ(texture.Width(), 64);
    EXPECT_EQ(texture.Height(), 64);
    EXPECT_STREQ(texture.Name(), good.Path().c_str());
    EXPECT_EQ(texture.Pixels()[0], 7);  // the letterbox border

    ASSERT_EQ(LoadNextPicture(scene, &texture, false, random), S_OK);
    EXPECT_STREQ(texture.Name(), "No picture");
    EXPECT_EQ(texture.Width(), 64);

    ASSERT_EQ(LoadNextPicture(scene, &texture, true, random), S_OK);  // background: first
    EXPECT_STREQ(texture.Name(), good.Path().c_str());
    EXPECT_EQ(LoadNextPicture(scene, nullptr, false, random), E_POINTER);

    CubeScene empty;
    ASSERT_EQ(LoadNextPicture(empty, &texture, false, random), S_OK);
    EXPECT_STREQ(texture.Name(), "No picture");
    EXPECT_EQ(texture.Width(), 512);
}

TEST(SceneMeshes, StarsBackgroundQuadAndPictureNames) {
    RandomGenerator a(5);
    RandomGenerator b(5);
    engine::Mesh stars;
    engine::Mesh again;
    BuildStarMesh(stars, 1000, a);
    BuildStarMesh(again, 1000, b);
    EXPECT_EQ(stars.Kind(), engine::PrimitiveKind::Points);
    ASSERT_EQ(stars.Indices().Count(), 1000u);
    ASSERT_EQ(stars.Colours().Count(), 3000u);
    for (std::size_t i = 0; i < 3000; ++i) {
        ASSERT_EQ(stars.Positions()[i], again.Positions()[i]);
        ASSERT_GE(stars.Colours()[i], 0.0f);
        ASSERT_LE(stars.Colours()[i], 1.0f);
    }
    EXPECT_LE(stars.Positions()[0], 180.0f);
    EXPECT_EQ(stars.Positions()[2], 0.0f);

    engine::Mesh quad;
    BuildBackgroundQuad(quad);
    EXPECT_EQ(quad.Kind(), engine::PrimitiveKind::Quads);
    EXPECT_FLOAT_EQ(quad.Positions()[6], 180.0f);
    EXPECT_FLOAT_EQ(quad.Positions()[7], 120.0f);
    EXPECT_FLOAT_EQ(quad.TexCoords()[4], 1.0f);

    EXPECT_EQ(ReducedPictureName("C:\\Photos\\Summer.2004.jpg"), "Summer.2004");
    EXPECT_EQ(ReducedPictureName("C:\\Photos\\noextension"), "noextension");
    EXPECT_EQ(ReducedPictureName("No picture"), "No picture");
    EXPECT_EQ(ReducedPictureName(std::string(400, 'x').c_str()).size(), 260u);
    // 260 characters, not bytes: a name is never cut inside a character.
    std::string wide;
    for (int i = 0; i < 300; ++i) {
        wide += "\xE5\x86\x99";
    }
    EXPECT_EQ(ReducedPictureName(wide.c_str()), wide.substr(0, 3 * 260));
    EXPECT_EQ(ReducedPictureName("C:\\Fotos \xE5\x86\x99\xE7\x9C\x9F\\\xF0\x9F\x99\x82.bmp"),
              "\xF0\x9F\x99\x82");
}

}  // namespace
}  // namespace velmora::scene
