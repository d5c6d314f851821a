#include "scene/scene_update.h"

#include <algorithm>

namespace velmora::scene {

namespace {

float Draw(RandomGenerator& random) {
    return static_cast<float>(random.Unit());
}

float BounceSpeed(RandomGenerator& random) {
    return (Draw(random) + 1.0f) * 5.0f;
}

// One axis of the spin: unwind towards 0 from the side its sign gives.
void UnwindAxis(float& angle, float& rate, float& slowdown, float sign, float dt) {
    if (rate < 1.5f) {
        rate = 1.5f;
    }
    if (sign >= 0) {
        if (angle > 0) {
            angle -= dt * rate;
        } else if (angle < 0) {
            angle = rate = slowdown = 0;
        }
    } else {
        if (angle < 0) {
            angle += dt * rate;
        } else if (angle > 0) {
            angle = rate = slowdown = 0;
        }
    }
}

void StartTurn(CubeScene& scene, RandomGenerator& random, SceneServices& services) {
    if (scene.targetFace == scene.currentFace) {
        do {
            scene.targetFace = random.Next() % kFaceCount;
        } while (scene.targetFace == scene.currentFace);
    }
    scene.timer = scene.rotationSeconds;
    scene.startOrientation = scene.currentOrientation;
    scene.targetOrientation = scene.faceOrientations[static_cast<std::size_t>(scene.targetFace)];

    auto& face = scene.faceTextures[static_cast<std::size_t>(scene.targetFace)];
    services.UploadPendingPicture(face.get(), scene.pendingTexture.get());
    scene.pendingTexture->ReleasePixels();
    face = std::move(scene.pendingTexture);
    scene.pendingTexture = std::make_unique<Texture>();
    scene.loaderState.store(kLoaderIdle);
    scene.ready.store(0, std::memory_order_release);
}

// The cube rests on the target face. Every change of the current face goes
// through here: the loader waits for the flag before it begins the next
// picture, so a change without it would stop the turns for good.
void ReachTargetFace(CubeScene& scene) {
    scene.currentOrientation = scene.targetOrientation;
    if (scene.targetFace != scene.currentFace) {
        scene.currentFace = scene.targetFace;
        scene.faceReached.store(1, std::memory_order_release);
    }
}

}  // namespace

ThreadPriority LoaderPriorityFor(float dt) {
    if (dt >= 0.1f) {
        return ThreadPriority::Lowest;
    }
    if (dt >= 0.04f) {
        return ThreadPriority::BelowNormal;
    }
    return ThreadPriority::Normal;
}

void ApplySettings(CubeScene& scene, const settings::CubeSettings& settings, bool preview,
                   RandomGenerator& random) {
    scene.textureSizeLimit = preview ? kPreviewTextureSizeLimit : kTextureSizeLimit;
    scene.randomize = settings.ShufflePictures != 0 ? 1 : 0;
    scene.keepAspect = settings.StretchPictures == 0 ? 1 : 0;
    const std::uint32_t colour = settings.BackgroundColor;
    for (int c = 0; c < 3; ++c) {
        const auto channel = static_cast<std::uint8_t>(colour >> (8 * c));
        scene.fillColour[c] = channel < 253 ? static_cast<std::uint8_t>(channel + 3) : channel;
    }
    scene.pictureSeconds =
        static_cast<float>(settings.PictureSeconds <= 0 ? 1 : settings.PictureSeconds);
    scene.rotationSeconds = static_cast<float>(settings.RotationSeconds);
    scene.backgroundPicture = settings.BackgroundKind == settings::background_kind::FirstPicture;
    if (settings.BackgroundKind == settings::background_kind::StarField) {
        scene.starCount = kStarFieldCount;
    }
    switch (settings.CubeStyle) {
        case settings::cube_style::LargeCube:
            scene.z = 34.0f;
            break;
        case settings::cube_style::SmallCube:
            scene.z = 10.0f;
            break;
        case settings::cube_style::Zooming:
            scene.z = -150.0f;
            scene.zAcceleration = 30.0f;
            break;
        case settings::cube_style::Bouncing:
            scene.z = 0.0f;
            scene.bouncing = 1;
            scene.bounceLimits = {25.0f, 19.0f, 0.0f};
            scene.velocity.x = BounceSpeed(random);
            scene.velocity.y = BounceSpeed(random);
            scene.velocity.z = 0.0f;
            break;
        default:
            break;  // an unknown stored style keeps the large cube's place
    }
}

void UpdateScene(CubeScene& scene, float dt, RandomGenerator& random, SceneServices& services) {
    UpdateScene(scene, dt, dt, random, services);
}

void UpdateScene(CubeScene& scene, float dt, float loaderFrameSeconds, RandomGenerator& random,
                 SceneServices& services) {
    if (loaderFrameSeconds >= 0) {
        services.SetLoaderPriority(LoaderPriorityFor(loaderFrameSeconds));
    }

    if (scene.bouncing != 0) {
        scene.position.x += scene.velocity.x * dt;
        scene.position.y += scene.velocity.y * dt;
        if (scene.position.x < -scene.bounceLimits.x) {
            scene.velocity.x = BounceSpeed(random);
        }
        if (scene.position.y < -scene.bounceLimits.y) {
            scene.velocity.y = BounceSpeed(random);
        }
        if (scene.position.x > scene.bounceLimits.x) {
            scene.velocity.x = -BounceSpeed(random);
        }
        if (scene.position.y > scene.bounceLimits.y) {
            scene.velocity.y = -BounceSpeed(random);
        }
    }

    scene.z += dt * scene.zSpeed;
    scene.zSpeed = std::clamp(scene.zSpeed + dt * scene.zAcceleration, -50.0f, 50.0f);
    if (scene.z < scene.lowerZ && scene.zAcceleration < 0) {
        scene.zAcceleration = -scene.zAcceleration;
    }
    // Held at the near limit, z sits exactly on it: counting the hold only
    // while z is past the limit would count every other frame and hold for
    // two picture lengths.
    if (scene.z >= scene.upperZ && scene.zAcceleration > 0) {
        if (scene.holdTime >= scene.pictureSeconds) {
            scene.zAcceleration = -scene.zAcceleration;
            scene.holdTime = 0;
        } else {
            scene.holdTime += dt;
            scene.z = scene.upperZ;
            scene.zSpeed = 0;
        }
    }

    scene.spinRates.x -= scene.spinSlowdown.x * dt;
    scene.spinRates.y -= scene.spinSlowdown.y * dt;
    scene.spinRates.z -= scene.spinSlowdown.z * dt;
    UnwindAxis(scene.spinAngles.x, scene.spinRates.x, scene.spinSlowdown.x, scene.spinSigns.x, dt);
    UnwindAxis(scene.spinAngles.y, scene.spinRates.y, scene.spinSlowdown.y, scene.spinSigns.y, dt);
    UnwindAxis(scene.spinAngles.z, scene.spinRates.z, scene.spinSlowdown.z, scene.spinSigns.z, dt);

    scene.timer -= dt;
    if (scene.timer <= -scene.pictureSeconds && scene.ready.load(std::memory_order_acquire) != 0) {
        StartTurn(scene, random, services);
    } else if (scene.timer > 0) {
        const float t = scene.rotationSeconds <= 0
                            ? 1.0f
                            : (scene.rotationSeconds - scene.timer) / scene.rotationSeconds;
        scene.currentOrientation =
            engine::Slerp(scene.startOrientation, scene.targetOrientation, t, 0.0001f);
    } else {
        ReachTargetFace(scene);
    }
}

void StartSpin(CubeScene& scene, RandomGenerator& random) {
    const float r1 = Draw(random);
    const float r2 = Draw(random);
    const float r3 = Draw(random);
    scene.spinAngles.x = r1 * 24 - 12;
    scene.spinAngles.y = r2 * 2 + scene.spinAngles.x - 1;
    scene.spinAngles.z = r3 * 2 + scene.spinAngles.x - 1;
    scene.spinSigns = scene.spinAngles;
    scene.spinRates.z = (Draw(random) + 1) * 5;
    scene.spinRates.y = (Draw(random) + 1) * 5;
    scene.spinRates.x = (Draw(random) + 1) * 5;
    scene.spinSlowdown = {2, 2, 2};
}

void Advance(CubeScene& scene) {
    if (scene.timer > 0) {
        scene.timer = 0;
        return;
    }
    scene.timer = -scene.pictureSeconds;
    ReachTargetFace(scene);
}

}  // namespace velmora::scene
