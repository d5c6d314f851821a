// The geometry of the built-in meshes: the six cube faces and the chamfered
// glass case around them.
#pragma once

#include "engine/mesh.h"

namespace velmora::tools {

// Face 0 to 5 of the picture cube (PCUBE0 to PCUBE5).
void BuildCubeFace(int face, engine::Mesh& mesh);

// The closed box with rounded edges that encloses the faces (CUBE2).
void BuildChamferBox(engine::Mesh& mesh);

}  // namespace velmora::tools
