// The scene's update step: turns, picture timing, advance, zoom, bounce and spin.
#include "scene/scene_update.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "base/platform.h"
#include "scene/picture_loading.h"

namespace velmora::scene {
namespace {

// Records what the update asks for, without GL.
class FakeServices : public SceneServices {
public:
    void SetLoaderPriority(ThreadPriority priority) override { lastPriority = priority; }
    void UploadPendingPicture(Texture*, Texture* pending) override {
        ++uploads;
        lastUploaded = pending;
    }
    ThreadPriority lastPriority = ThreadPriority::BelowNormal;
    int uploads = 0;
    Texture* lastUploaded = nullptr;
};

// Plays the loader's part: a picture is ready whenever the face was reached.
void OfferPicture(CubeScene& scene, const char* name) {
    scene.pendingTexture->SetName(name);
    scene.ready.store(1);
}

class SceneUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        scene_.pictureSeconds = 1.0f;
        scene_.rotationSeconds = 0.5f;
        scene_.pendingTexture = std::make_unique<Texture>();
        scene_.faceTextures[0] = std::make_unique<Texture>();
        scene_.faceTextures[0]->SetName("first");
    }

    // Runs updates of dt until the condition holds (at most limit seconds).
    template <typename Condition>
    float RunUntil(Condition done, float dt = 0.01f, float limit = 30.0f) {
        float elapsed = 0;
        while (!done() && elapsed < limit) {
            UpdateScene(scene_, dt, random_, services_);
            elapsed += dt;
        }
        return elapsed;
    }

    CubeScene scene_;
    RandomGenerator random_{1234};
    FakeServices services_;
};

TEST_F(SceneUpdate, EachTurnPutsTheReadyPictureOnANewFace) {
    std::set<int> seen = {0};
    int previous = scene_.currentFace;
    for (int turn = 0; turn < 20; ++turn) {
        OfferPicture(scene_, "same");
        RunUntil([&] { return scene_.ready.load() == 0; });
        ASSERT_EQ(scene_.ready.load(), 0);
        ASSERT_NE(scene_.targetFace, previous) << "turned to the face that was shown";
        EXPECT_STREQ(scene_.faceTextures[scene_.targetFace]->Name(), "same");
        EXPECT_EQ(services_.uploads, turn + 1);
        RunUntil([&] { return scene_.faceReached.load() != 0; });
        EXPECT_EQ(scene_.currentFace, scene_.targetFace);
        scene_.faceReached.store(0);
        previous = scene_.currentFace;
        seen.insert(previous);
    }
    EXPECT_GT(seen.size(), 3u);
}

TEST_F(SceneUpdate, TheFirstTurnWaitsForThePictureLengthAndAPicture) {
    const float waited = RunUntil([&] { return scene_.timer <= -scene_.pictureSeconds; });
    EXPECT_NEAR(waited, 1.0f, 0.02f);
    RunUntil([] { return false; }, 0.01f, 2.0f);  // no picture ready: no turn
    EXPECT_EQ(scene_.targetFace, 0);
    EXPECT_EQ(services_.uploads, 0);
    OfferPicture(scene_, "next");
    UpdateScene(scene_, 0.01f, random_, services_);
    EXPECT_NE(scene_.targetFace, 0);
    EXPECT_FLOAT_EQ(scene_.timer, 0.5f);
}

TEST_F(SceneUpdate, ATurnInterpolatesAndARotationLengthOfZeroJumps) {
    OfferPicture(scene_, "next");
    RunUntil([&] { return scene_.ready.load() == 0; });
    UpdateScene(scene_, 0.25f, random_, services_);  // halfway
    const Quaternion target = scene_.faceOrientations[scene_.targetFace];
    const float dot =
        scene_.currentOrientation.w * target.w + scene_.currentOrientation.x * target.x +
        scene_.currentOrientation.y * target.y + scene_.currentOrientation.z * target.z;
    EXPECT_LT(std::fabs(dot), 0.9999f);

    scene_.rotationSeconds = 0;
    RunUntil([&] { return scene_.faceReached.load() != 0; });
    scene_.faceReached.store(0);
    OfferPicture(scene_, "jump");
    RunUntil([&] { return scene_.ready.load() == 0; });
    UpdateScene(scene_, 0.01f, random_, services_);
    EXPECT_EQ(scene_.currentFace, scene_.targetFace);
    EXPECT_FLOAT_EQ(scene_.currentOrientation.w, scene_.faceOrientations[scene_.targetFace].w);
}

TEST_F(SceneUpdate, AdvanceEndsATurnAtOnceAndOtherwiseSkipsTheWait) {
    Advance(scene_);  // showing: the next turn may start at once
    EXPECT_FLOAT_EQ(scene_.timer, -1.0f);
    UpdateScene(scene_, 0.01f, random_, services_);
    EXPECT_EQ(scene_.targetFace, 0);  // but not before a picture is ready
    OfferPicture(scene_, "next");
    UpdateScene(scene_, 0.01f, random_, services_);
    ASSERT_NE(scene_.targetFace, 0);
    EXPECT_GT(scene_.timer, 0);
    Advance(scene_);  // turning: the turn ends with the next update
    EXPECT_FLOAT_EQ(scene_.timer, 0);
    UpdateScene(scene_, 0.01f, random_, services_);
    EXPECT_EQ(scene_.currentFace, scene_.targetFace);
    EXPECT_EQ(scene_.faceReached.load(), 1);
}

TEST_F(SceneUpdate, ZoomingHoldsAtTheNearLimitForOnePictureLength) {
    settings::CubeSettings settings;
    settings.CubeStyle = settings::cube_style::Zooming;
    settings.PictureSeconds = 3;
    ApplySettings(scene_, settings, false, random_);
    EXPECT_FLOAT_EQ(scene_.z, -150.0f);
    float held = 0;
    int approaches = 0;
    bool holding = false;
    float lowest = 0;
    for (int i = 0; i < 6000; ++i) {  // 60 seconds
        UpdateScene(scene_, 0.01f, random_, services_);
        ASSERT_LE(scene_.z, 35.0f + 0.05f);  // at most a step past the limit
        ASSERT_LE(std::fabs(scene_.zSpeed), 50.0f);
        lowest = std::min(lowest, scene_.z);
        if (std::fabs(scene_.z - 35.0f) < 0.02f) {
            if (!holding) {
                ++approaches;
                held = 0;
            }
            holding = true;
            held += 0.01f;
        } else if (holding) {
            holding = false;
            EXPECT_NEAR(held, 3.0f, 0.1f);
        }
    }
    EXPECT_GE(approaches, 2);
    EXPECT_LT(lowest, -150.0f);
}

TEST_F(SceneUpdate, BouncingStaysWithinItsLimits) {
    settings::CubeSettings settings;
    settings.CubeStyle = settings::cube_style::Bouncing;
    ApplySettings(scene_, settings, false, random_);
    EXPECT_EQ(scene_.bouncing, 1);
    EXPECT_GE(scene_.velocity.x, 5.0f);
    EXPECT_LE(scene_.velocity.x, 10.0f);
    float maxX = 0;
    float maxY = 0;
    for (int i = 0; i < 20000; ++i) {
        UpdateScene(scene_, 0.02f, random_, services_);
        maxX = std::max(maxX, std::fabs(scene_.position.x));
        maxY = std::max(maxY, std::fabs(scene_.position.y));
    }
    EXPECT_GT(maxX, 24.0f);
    EXPECT_LE(maxX, 25.0f + 10.0f * 0.02f);
    EXPECT_GT(maxY, 18.0f);
    EXPECT_LE(maxY, 19.0f + 10.0f * 0.02f);
}

TEST_F(SceneUpdate, TheSpinUnwindsToRest) {
    StartSpin(scene_, random_);
    EXPECT_LE(std::fabs(scene_.spinAngles.x), 12.0f);
    EXPECT_NEAR(scene_.spinAngles.y, scene_.spinAngles.x, 1.0f);
    EXPECT_FLOAT_EQ(scene_.spinSlowdown.x, 2.0f);
    RunUntil([&] {
        return scene_.spinAngles.x == 0 && scene_.spinAngles.y == 0 && scene_.spinAngles.z == 0;
    });
    EXPECT_EQ(scene_.spinAngles.x, 0.0f);
    EXPECT_EQ(scene_.spinAngles.z, 0.0f);
}

TEST_F(SceneUpdate, LoaderPriorityFollowsTheFrameTime) {
    UpdateScene(scene_, 0.2f, random_, services_);
    EXPECT_EQ(services_.lastPriority, ThreadPriority::Lowest);
    UpdateScene(scene_, 0.05f, random_, services_);
    EXPECT_EQ(services_.lastPriority, ThreadPriority::BelowNormal);
    UpdateScene(scene_, 0.01f, random_, services_);
    EXPECT_EQ(services_.lastPriority, ThreadPriority::Normal);
    // A frame after a rest has waited on purpose: the priority stays.
    UpdateScene(scene_, 4.0f, -1.0f, random_, services_);
    EXPECT_EQ(services_.lastPriority, ThreadPriority::Normal);
}

// "A" pressed in the frame right after each of the first three turns starts,
// with the real loader beside ten simulated seconds of frames: the turns must
// go on to the end.
struct AdvanceCase {
    const char* name;
    float rotationSeconds;
    int presses;
};

void PrintTo(const AdvanceCase& c, std::ostream* out) {
    *out << c.name;
}

class AdvanceRightAfterATurnStarts : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(AdvanceRightAfterATurnStarts, TheCubeKeepsTurning) {
    const AdvanceCase& c = GetParam();
    CubeScene scene;
    scene.pictureSeconds = 1.0f;
    scene.rotationSeconds = c.rotationSeconds;
    scene.faceTextures[0] = std::make_unique<Texture>();
    RandomGenerator random(5);
    FakeServices services;
    ASSERT_TRUE(StartLoader(scene, [](Texture*) { return S_OK; }));
    const float dt = 0.05f;
    float lastTurn = 0;
    for (int frame = 0; frame < 200; ++frame) {
        // A frame that wants a picture gives the loader a second of real time.
        for (int wait = 0;
             wait < 200 && scene.timer - dt <= -scene.pictureSeconds && scene.ready.load() == 0;
             ++wait) {
            platform::SleepMilliseconds(5);
        }
        const int turns = services.uploads;
        UpdateScene(scene, dt, random, services);
        if (services.uploads > turns) {
            lastTurn = static_cast<float>(frame) * dt;
            for (int press = 0; services.uploads <= 3 && press < c.presses; ++press) {
                Advance(scene);
            }
        } else if (scene.timer <= -scene.pictureSeconds && scene.ready.load() == 0) {
            break;  // the loader waits for a face that was never reached
        }
    }
    StopLoader(scene);
    EXPECT_GE(services.uploads, 8);
    EXPECT_GT(lastTurn, 8.0f);
}

INSTANTIATE_TEST_SUITE_P(Scene, AdvanceRightAfterATurnStarts,
                         ::testing::Values(AdvanceCase{"TwiceDuringATurn", 0.5f, 2},
                                           AdvanceCase{"OnceWithNoRotationTime", 0.0f, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SceneSettings, CopiedWithTheirRules) {
    CubeScene scene;
    RandomGenerator random(1);
    settings::CubeSettings settings;
    settings.BackgroundColor = 0x00FE0A05;  // blue 254, green 10, red 5
    settings.PictureSeconds = 0;
    settings.RotationSeconds = -2;
    settings.StretchPictures = 1;
    settings.ShufflePictures = 0;
    settings.BackgroundKind = settings::background_kind::FirstPicture;
    settings.CubeStyle = settings::cube_style::SmallCube;
    ApplySettings(scene, settings, true, random);
    EXPECT_EQ(scene.fillColour[0], 8);
    EXPECT_EQ(scene.fillColour[1], 13);
    EXPECT_EQ(scene.fillColour[2], 254);
    EXPECT_FLOAT_EQ(scene.pictureSeconds, 1.0f);
    EXPECT_FLOAT_EQ(scene.rotationSeconds, -2.0f);
    EXPECT_EQ(scene.keepAspect, 0);
    EXPECT_EQ(scene.randomize, 0);
    EXPECT_EQ(scene.backgroundPicture, 1);
    EXPECT_EQ(scene.starCount, 0);
    EXPECT_EQ(scene.textureSizeLimit, 128);
    EXPECT_FLOAT_EQ(scene.z, 10.0f);

    CubeScene stars;
    ApplySettings(stars, settings::CubeSettings{}, false, random);
    EXPECT_EQ(stars.starCount, 1000);
    EXPECT_EQ(stars.textureSizeLimit, 512);
    EXPECT_FLOAT_EQ(stars.z, 34.0f);
    EXPECT_EQ(stars.keepAspect, 1);
}

}  // namespace
}  // namespace velmora::scene
