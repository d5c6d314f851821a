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

// Starts the loader thread on a fresh pending texture.
bool StartLoader(CubeScene& scene, PictureLoad load);

// Asks the loader to stop and waits for it: 500 polls of 10 ms, then as long
// as it takes, since the pending texture must not go while it is in use.
void StopLoader(CubeScene& scene);

}  // namespace velmora::scene
