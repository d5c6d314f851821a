#include "scene/scene_meshes.h"

#include <cstring>
#include <string>

#include "base/utf8.h"

namespace velmora::scene {

void BuildStarMesh(engine::Mesh& mesh, int count, RandomGenerator& random) {
    mesh.ClearArrays();
    if (count <= 0) {
        return;
    }
    const auto n = static_cast<std::size_t>(count);
    mesh.SetVertexCount(n, false, false, true, false);
    mesh.SetPrimitives(engine::PrimitiveKind::Points, n);
    auto draw = [&] { return static_cast<float>(random.Unit()); };
    for (std::size_t i = 0; i < n; ++i) {
        const float x = draw() * 180.0f;
        const float y = draw() * 120.0f;
        mesh.Positions()[3 * i] = x;
        mesh.Positions()[3 * i + 1] = y;
        mesh.Positions()[3 * i + 2] = 0.0f;
        mesh.Colours()[3 * i] = draw();
        mesh.Colours()[3 * i + 1] = draw();
        mesh.Colours()[3 * i + 2] = draw();
        mesh.Indices()[i] = static_cast<std::uint32_t>(i);
    }
}

void BuildBackgroundQuad(engine::Mesh& mesh) {
    mesh.ClearArrays();
    mesh.SetVertexCount(4, false, true, false, false);
    mesh.SetPrimitives(engine::PrimitiveKind::Quads, 1);
    mesh.SetVertex(0, 0, 0, 0, 0, 0);
    mesh.SetVertex(1, 1, 0, 180, 0, 0);
    mesh.SetVertex(2, 1, 1, 180, 120, 0);
    mesh.SetVertex(3, 0, 1, 0, 120, 0);
    for (std::uint32_t i = 0; i < 4; ++i) {
        mesh.Indices()[i] = i;
    }
}

std::string ReducedPictureName(const char* name) {
    // At most 260 characters, cut between two of them.
    std::string reduced(name != nullptr ? name : "");
    std::size_t end = 0;
    for (int count = 0; count < 260 && end < reduced.size(); ++count) {
        NextCharacter(reduced, end);
    }
    reduced.resize(end);
    const auto slash = reduced.find_last_of('\\');
    if (slash == std::string::npos) {
        return reduced;
    }
    reduced = reduced.substr(slash + 1);
    const auto dot = reduced.find_last_of('.');
    if (dot != std::string::npos) {
        reduced.resize(dot);
    }
    return reduced;
}

}  // namespace velmora::scene
