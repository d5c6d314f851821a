// Pictures for the cube: choosing and decoding the next one, and the loader
// thread that keeps one picture ready ahead of the turns.
#pragma once

#include <functional>

#include "base/random.h"
#include "base/status.h"
#include "scene/cube_scene.h"

namespace velmora::scene {

// Fills texture with the next picture (or, for a background request, the
// first of the list) at the scene's texture size; the default picture when
// there is none or it cannot be decoded.
HRESULT LoadNextPicture(CubeScene& scene, Texture* texture, bool backgroundRequest,
                        RandomGenerator& random);

// How the loader fills the pending texture; LoadNextPicture in the program.
using PictureLoad = std::function<HRESULT(Texture*)>;

// The loader thread's work: one picture ahead, handed over by the ready flag,
// the next one begun only after the cube has reached the new face.
void RunLoader(CubeScene& scene, const PictureLoad& load);

// Starts the loader thread on a fresh pending texture, after ending an earlier
// one. False when the thread cannot be started.
bool StartLoader(CubeScene& scene, PictureLoad load);

// Asks the loader to stop, without waiting: it ends at its next look at the
// stop flag, which may be only after a slow read.
void RequestLoaderStop(CubeScene& scene);
// Waits for the loader to end, as long as it takes: the pending texture and
// the picture list must not go while it may use them.
void WaitForLoader(CubeScene& scene);
// Both.
void StopLoader(CubeScene& scene);

}  // namespace velmora::scene
