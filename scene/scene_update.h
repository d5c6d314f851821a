// The scene's motion: settings taken over at the start, the per-frame update
// and the "A" and "S" keys. Portable; the GL work of a turn goes through
// SceneServices.
#pragma once

#include "base/random.h"
#include "base/thread.h"
#include "scene/cube_scene.h"
#include "settings/cube_settings.h"

namespace velmora::scene {

// What the update asks of the world around it.
class SceneServices {
public:
    virtual ~SceneServices() = default;
    virtual void SetLoaderPriority(ThreadPriority priority) = 0;
    // Puts the pending picture's pixels into GL: into the face's existing GL
    // texture when it has one, otherwise as a new upload.
    virtual void UploadPendingPicture(Texture* faceTexture, Texture* pending) = 0;
};

// Settings copied into the scene and the cube style set up (start steps 2,
// 3 and 5). preview: the small window of the display properties.
void ApplySettings(CubeScene& scene, const settings::CubeSettings& settings, bool preview,
                   RandomGenerator& random);

// One frame's step of dt seconds.
void UpdateScene(CubeScene& scene, float dt, RandomGenerator& random, SceneServices& services);
// The same, with the loader's priority set from loaderFrameSeconds instead of
// dt (a frame after a wait says nothing of slow frames: negative leaves the
// priority as it is).
void UpdateScene(CubeScene& scene, float dt, float loaderFrameSeconds, RandomGenerator& random,
                 SceneServices& services);

// "S": a random spin that unwinds by itself.
void StartSpin(CubeScene& scene, RandomGenerator& random);
// "A": end the running turn, or start the next as soon as a picture is ready.
void Advance(CubeScene& scene);

// The loader's priority for a frame of dt seconds.
ThreadPriority LoaderPriorityFor(float dt);

}  // namespace velmora::scene
