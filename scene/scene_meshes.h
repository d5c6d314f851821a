// The meshes the scene builds itself: the star field and the background quad.
#pragma once

#include "base/random.h"
#include "engine/mesh.h"

namespace velmora::scene {

// count coloured points over 180 × 120 units, from the random sequence.
void BuildStarMesh(engine::Mesh& mesh, int count, RandomGenerator& random);

// A 180 × 120 quad with the whole texture on it.
void BuildBackgroundQuad(engine::Mesh& mesh);

// The picture-name overlay's text: the file name without folder and last
// extension (names without a backslash stay whole).
std::string ReducedPictureName(const char* name);

}  // namespace velmora::scene
