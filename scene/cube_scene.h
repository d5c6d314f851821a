// The state of the cube scene: pictures, motion, turn cycle, loader
// handshake, background, glass and the face meshes.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/thread.h"
#include "base/wake_event.h"
#include "engine/math3d.h"
#include "engine/mesh.h"
#include "engine/texture.h"

namespace velmora::scene {

using engine::Mesh;
using engine::Quaternion;
using engine::Texture;
using engine::Vector3;

inline constexpr int kFaceCount = 6;
inline constexpr int kTextureSizeLimit = 512;
inline constexpr int kPreviewTextureSizeLimit = 128;
inline constexpr int kStarFieldCount = 1000;

// Loader states shown by the loading indicator.
inline constexpr std::int32_t kLoaderIdle = 0;
inline constexpr std::int32_t kLoaderLoading = 1;
inline constexpr std::int32_t kLoaderLoaded = 2;

// The cube orientation that shows face i to the viewer.
Quaternion FaceOrientation(int face);

struct CubeScene {
    // Pictures (the loader reads the list; only LoadNextPicture moves the
    // indexes, on the loader thread once the run has started).
    std::vector<std::string> pictureList;
    std::int32_t nextIndex = 0;
    std::vector<std::int32_t> remainingOrder;

    std::uint8_t backgroundPicture = 0;
    std::uint8_t glass = 1;
    float glassAlpha = 0.1f;

    // Zooming and bouncing.
    float lowerZ = -150.0f;
    float z = 34.0f;
    float upperZ = 35.0f;
    Vector3 position;
    Vector3 velocity;
    Vector3 bounceLimits;
    float zSpeed = 0;
    float zAcceleration = 0;
    float holdTime = 0;

    // The "S" spin.
    Vector3 spinAngles;
    Vector3 spinRates;
    Vector3 spinSlowdown;
    Vector3 spinSigns;

    std::array<Quaternion, kFaceCount> faceOrientations;
    std::array<std::unique_ptr<Texture>, kFaceCount> faceTextures;
    std::unique_ptr<Texture> backgroundTexture;
    Mesh starMesh;
    Mesh backgroundQuad;
    std::uint8_t fillColour[3] = {0, 0, 0};

    float pictureSeconds = 1.0f;
    float timer = 0;
    float rotationSeconds = 0.5f;
    Quaternion targetOrientation;
    Quaternion startOrientation;
    Quaternion currentOrientation;
    std::int32_t currentFace = 0;
    std::int32_t targetFace = 0;
    std::int32_t starCount = 0;
    std::uint8_t keepAspect = 0;
    std::uint8_t bouncing = 0;
    std::uint8_t randomize = 0;

    // Loader handshake: the loader owns the pending texture while the ready
    // flag is clear, the main thread while it is set.
    Thread loaderThread;
    std::atomic<bool> loaderRunning{false};
    std::int32_t textureSizeLimit = kTextureSizeLimit;
    std::unique_ptr<Texture> pendingTexture;
    std::atomic<std::uint8_t> ready{0};
    std::atomic<std::uint8_t> stop{0};
    std::atomic<std::uint8_t> faceReached{0};
    std::atomic<std::int32_t> loaderState{kLoaderIdle};
    // Signalled when the loader begins a picture and when one is ready, so a
    // resting frame loop wakes for the turn (and the loading indicator).
    WakeEvent loaderEvent;

    std::array<Mesh, kFaceCount> faceMeshes;
    std::vector<std::unique_ptr<Mesh>> glassMeshes;

    // What a face without a picture of its own shows.
    std::unique_ptr<Texture> defaultFaceTexture;
    bool sceneReady = false;

    CubeScene();
    CubeScene(const CubeScene&) = delete;
    CubeScene& operator=(const CubeScene&) = delete;
    // Stops the loader and waits for it before any member goes, whether or
    // not the run ended properly.
    ~CubeScene();
};

}  // namespace velmora::scene
