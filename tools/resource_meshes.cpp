// The geometry of the built-in meshes (resource_meshes.h).
#include "tools/resource_meshes.h"

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace velmora::tools {

namespace {

constexpr float kFace = 4.68f;

struct FaceVertex {
    float x, y, z, u, v;
};

struct FaceDefinition {
    const char* name;
    float nx, ny, nz;
    std::array<FaceVertex, 4> vertices;
    std::array<std::uint32_t, 6> indices;
};

constexpr float L = 0.001f;
constexpr float H = 0.999f;
constexpr float P = kFace;
constexpr float N = -kFace;

const FaceDefinition kFaces[6] = {
    {"Box01",
     0,
     -1,
     0,
     {{{N, N, N, L, L}, {P, N, N, H, L}, {N, N, P, L, H}, {P, N, P, H, H}}},
     {0, 2, 3, 3, 1, 0}},
    {"Mesh01",
     0,
     0,
     -1,
     {{{N, N, N, H, H}, {P, N, N, H, L}, {N, P, N, L, H}, {P, P, N, L, L}}},
     {0, 1, 3, 3, 2, 0}},
    {"Mesh02",
     -1,
     0,
     0,
     {{{N, N, N, H, L}, {N, N, P, H, H}, {N, P, N, L, L}, {N, P, P, L, H}}},
     {1, 0, 2, 2, 3, 1}},
    {"Mesh03",
     0,
     1,
     0,
     {{{N, P, N, H, L}, {P, P, N, L, L}, {N, P, P, H, H}, {P, P, P, L, H}}},
     {0, 1, 3, 3, 2, 0}},
    {"Mesh04",
     0,
     0,
     1,
     {{{N, N, P, L, L}, {P, N, P, H, L}, {N, P, P, L, H}, {P, P, P, H, H}}},
     {1, 0, 2, 2, 3, 1}},
    {"Mesh05",
     1,
     0,
     0,
     {{{P, N, N, H, L}, {P, N, P, L, L}, {P, P, N, H, H}, {P, P, P, L, H}}},
     {0, 1, 3, 3, 2, 0}},
};

struct Vec {
    float x, y, z;
};

Vec Sub(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Normalised(Vec a) {
    const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return length > 0 ? Vec{a.x / length, a.y / length, a.z / length} : Vec{0, 0, 0};
}

// Face normals: one per triangle, then zeros up to three floats per index.
void FillFaceNormals(engine::Mesh& mesh) {
    const auto& positions = mesh.Positions();
    const auto& indices = mesh.Indices();
    auto& faceNormals = mesh.FaceNormals();
    for (std::size_t i = 0; i < faceNormals.Count(); ++i) {
        faceNormals[i] = 0.0f;
    }
    for (std::size_t t = 0; t * 3 + 2 < indices.Count(); ++t) {
        auto at = [&](std::size_t k) {
            const std::uint32_t v = indices[3 * t + k];
            return Vec{positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]};
        };
        const Vec n = Normalised(Cross(Sub(at(1), at(0)), Sub(at(2), at(0))));
        faceNormals[3 * t] = n.x;
        faceNormals[3 * t + 1] = n.y;
        faceNormals[3 * t + 2] = n.z;
    }
}

void SetBounds(engine::Mesh& mesh, float low, float high) {
    const float values[10] = {low, low, low, high, high, high, 0, 0, 0, high * std::sqrt(3.0f)};
    std::memcpy(mesh.bounds, values, sizeof values);
}

}  // namespace

void BuildCubeFace(int face, engine::Mesh& mesh) {
    const FaceDefinition& f = kFaces[face];
    mesh.ClearArrays();
    mesh.SetObjectName(f.name);
    mesh.SetVertexCount(4, true, true, false, true);
    mesh.SetPrimitives(engine::PrimitiveKind::Triangles, 2);
    for (std::size_t i = 0; i < 4; ++i) {
        const FaceVertex& v = f.vertices[i];
        mesh.SetVertex(i, v.u, v.v, v.x, v.y, v.z);
        mesh.Normals()[3 * i] = f.nx;
        mesh.Normals()[3 * i + 1] = f.ny;
        mesh.Normals()[3 * i + 2] = f.nz;
        mesh.SecondTexCoords()[2 * i] = v.u;
        mesh.SecondTexCoords()[2 * i + 1] = v.v;
    }
    for (std::size_t i = 0; i < 6; ++i) {
        mesh.Indices()[i] = f.indices[i];
    }
    FillFaceNormals(mesh);
    SetBounds(mesh, -kFace, kFace);
}

// The lattice points on the surface of a 4 × 9 × 10 grid spanning ±5, each
// pushed onto a box whose edges and corners are rounded with radius r. Flat
// parts only carry extra grid lines, so the shape is the same on every side:
// 248 vertices, 246 cells, 492 triangles.
constexpr float kHalf = 5.0f;
constexpr float kRadius = 0.45f;

void BuildChamferBox(engine::Mesh& mesh) {
    auto axis = [](int count) {
        std::vector<float> values = {-kHalf};
        const float inner = kHalf - kRadius;
        for (int i = 0; i < count - 2; ++i) {
            values.push_back(-inner +
                             2 * inner * static_cast<float>(i) / static_cast<float>(count - 3));
        }
        values.push_back(kHalf);
        return values;
    };
    const std::vector<float> xs = axis(4);
    const std::vector<float> ys = axis(9);
    const std::vector<float> zs = axis(10);
    const int nx = static_cast<int>(xs.size());
    const int ny = static_cast<int>(ys.size());
    const int nz = static_cast<int>(zs.size());

    std::map<std::array<int, 3>, std::uint32_t> vertexOf;
    std::vector<Vec> positions;
    std::vector<Vec> normals;
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            for (int k = 0; k < nz; ++k) {
                const bool surface =
                    i == 0 || i == nx - 1 || j == 0 || j == ny - 1 || k == 0 || k == nz - 1;
                if (!surface) {
                    continue;
                }
                const Vec p{xs[i], ys[j], zs[k]};
                const float limit = kHalf - kRadius;
                const Vec inner{std::fmax(-limit, std::fmin(limit, p.x)),
                                std::fmax(-limit, std::fmin(limit, p.y)),
                                std::fmax(-limit, std::fmin(limit, p.z))};
                const Vec direction = Normalised(Sub(p, inner));
                vertexOf[{i, j, k}] = static_cast<std::uint32_t>(positions.size());
                positions.push_back({inner.x + kRadius * direction.x,
                                     inner.y + kRadius * direction.y,
                                     inner.z + kRadius * direction.z});
                normals.push_back(direction);
            }
        }
    }

    // Two triangles per lattice cell of each side, wound clockwise seen from
    // outside like the cube's faces: the scene culls front faces, so the side
    // nearer the viewer is the one drawn.
    std::vector<std::uint32_t> indices;
    auto quad = [&](std::array<int, 3> a, std::array<int, 3> b, std::array<int, 3> c,
                    std::array<int, 3> d, bool flip) {
        const std::uint32_t va = vertexOf.at(a), vb = vertexOf.at(b), vc = vertexOf.at(c),
                            vd = vertexOf.at(d);
        if (flip) {
            indices.insert(indices.end(), {va, vb, vc, va, vc, vd});
        } else {
            indices.insert(indices.end(), {va, vc, vb, va, vd, vc});
        }
    };
    for (int side = 0; side < 2; ++side) {
        const int i = side == 0 ? 0 : nx - 1;
        for (int j = 0; j + 1 < ny; ++j) {
            for (int k = 0; k + 1 < nz; ++k) {
                quad({i, j, k}, {i, j + 1, k}, {i, j + 1, k + 1}, {i, j, k + 1}, side == 0);
            }
        }
        const int j = side == 0 ? 0 : ny - 1;
        for (int i2 = 0; i2 + 1 < nx; ++i2) {
            for (int k = 0; k + 1 < nz; ++k) {
                quad({i2, j, k}, {i2, j, k + 1}, {i2 + 1, j, k + 1}, {i2 + 1, j, k}, side == 0);
            }
        }
        const int k = side == 0 ? 0 : nz - 1;
        for (int i2 = 0; i2 + 1 < nx; ++i2) {
            for (int j2 = 0; j2 + 1 < ny; ++j2) {
                quad({i2, j2, k}, {i2 + 1, j2, k}, {i2 + 1, j2 + 1, k}, {i2, j2 + 1, k}, side == 0);
            }
        }
    }

    mesh.ClearArrays();
    mesh.SetObjectName("ChamferBox01");
    mesh.SetVertexCount(positions.size(), true, true, false, true);
    mesh.SetPrimitives(engine::PrimitiveKind::Triangles, indices.size() / 3);
    for (std::size_t v = 0; v < positions.size(); ++v) {
        mesh.Positions()[3 * v] = positions[v].x;
        mesh.Positions()[3 * v + 1] = positions[v].y;
        mesh.Positions()[3 * v + 2] = positions[v].z;
        mesh.Normals()[3 * v] = normals[v].x;
        mesh.Normals()[3 * v + 1] = normals[v].y;
        mesh.Normals()[3 * v + 2] = normals[v].z;
    }
    // Sphere mapping makes the stored coordinates meaningless; they carry
    // the bytes CD throughout.
    std::memset(mesh.TexCoords().Data(), 0xCD, mesh.TexCoords().Count() * sizeof(float));
    std::memset(mesh.SecondTexCoords().Data(), 0xCD,
                mesh.SecondTexCoords().Count() * sizeof(float));
    for (std::size_t i = 0; i < indices.size(); ++i) {
        mesh.Indices()[i] = indices[i];
    }
    FillFaceNormals(mesh);
    SetBounds(mesh, -kHalf, kHalf);
}

}  // namespace velmora::tools
