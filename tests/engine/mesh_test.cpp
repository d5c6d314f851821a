// The built-in meshes as read from the resources: faces, winding, normals, glass case.
#include "engine/mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "engine/texture.h"
#include "tests/engine/engine_test_support.h"

namespace velmora::engine {
namespace {

std::uint32_t InflatedSize(const std::vector<std::uint8_t>& packed) {
    return packed[4] | (packed[5] << 8) | (packed[6] << 16) |
           (static_cast<std::uint32_t>(packed[7]) << 24);
}

TEST(BuiltInMeshes, TheFirstFaceReadsAsTwoTriangles) {
    EXPECT_EQ(InflatedSize(testing::PackedBytes("PCUBE0.MSH")), 436u);
    Mesh face;
    ASSERT_EQ(face.LoadFromResource("PCUBE0.MSH"), S_OK);
    EXPECT_EQ(face.Kind(), PrimitiveKind::Triangles);
    EXPECT_EQ(face.Flags(), 15u);
    EXPECT_STREQ(face.ObjectName(), "Box01");
    EXPECT_EQ(face.Positions().Count(), 12u);
    EXPECT_EQ(face.Colours().Count(), 0u);
    EXPECT_EQ(face.FaceNormals().Count(), 18u);
    const std::uint32_t expected[6] = {0, 2, 3, 3, 1, 0};
    ASSERT_EQ(face.Indices().Count(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(face.Indices()[i], expected[i]);
    }
    EXPECT_FLOAT_EQ(face.Positions()[1], -4.68f);
    EXPECT_FLOAT_EQ(face.Normals()[1], -1.0f);
    EXPECT_FLOAT_EQ(face.TexCoords()[0], 0.001f);
    EXPECT_FLOAT_EQ(face.TexCoords()[2], 0.999f);
}

TEST(BuiltInMeshes, FacesAreWoundClockwiseSeenFromOutside) {
    for (int f = 0; f < 6; ++f) {
        Mesh face;
        ASSERT_EQ(face.LoadFromResource(("PCUBE" + std::to_string(f) + ".MSH").c_str()), S_OK);
        const auto& p = face.Positions();
        for (int t = 0; t < 2; ++t) {
            const std::uint32_t* i = &face.Indices()[3 * t];
            const float a[3] = {p[3 * i[1]] - p[3 * i[0]], p[3 * i[1] + 1] - p[3 * i[0] + 1],
                                p[3 * i[1] + 2] - p[3 * i[0] + 2]};
            const float b[3] = {p[3 * i[2]] - p[3 * i[0]], p[3 * i[2] + 1] - p[3 * i[0] + 1],
                                p[3 * i[2] + 2] - p[3 * i[0] + 2]};
            const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
            const float outward =
                n[0] * face.Normals()[0] + n[1] * face.Normals()[1] + n[2] * face.Normals()[2];
            EXPECT_LT(outward, 0.0f) << f;
        }
    }
}

TEST(BuiltInMeshes, TheSixFacesCloseACubeWithTheirNamesAndNormals) {
    const char* names[6] = {"Box01", "Mesh01", "Mesh02", "Mesh03", "Mesh04", "Mesh05"};
    const float normals[6][3] = {{0, -1, 0}, {0, 0, -1}, {-1, 0, 0},
                                 {0, 1, 0},  {0, 0, 1},  {1, 0, 0}};
    for (int f = 0; f < 6; ++f) {
        const std::string resource = "PCUBE" + std::to_string(f) + ".MSH";
        SCOPED_TRACE(resource);
        Mesh face;
        ASSERT_EQ(face.LoadFromResource(resource.c_str()), S_OK);
        EXPECT_STREQ(face.ObjectName(), names[f]);
        EXPECT_STREQ(face.GetTextureName(0), "");
        for (int v = 0; v < 4; ++v) {
            for (int a = 0; a < 3; ++a) {
                const float p = face.Positions()[3 * v + a];
                EXPECT_FLOAT_EQ(std::fabs(p), 4.68f);
                EXPECT_FLOAT_EQ(face.Normals()[3 * v + a], normals[f][a]);
                if (normals[f][a] != 0) {
                    EXPECT_FLOAT_EQ(p, 4.68f * normals[f][a]);
                }
            }
            for (int t = 0; t < 2; ++t) {
                const float c = face.TexCoords()[2 * v + t];
                EXPECT_TRUE(c == 0.001f || c == 0.999f) << c;
            }
        }
    }
}

TEST(BuiltInMeshes, TheGlassCaseIsAClosedChamferedBox) {
    EXPECT_EQ(InflatedSize(testing::PackedBytes("CUBE2.MSH")), 33716u);
    Mesh box;
    ASSERT_EQ(box.LoadFromResource("CUBE2.MSH"), S_OK);
    EXPECT_STREQ(box.ObjectName(), "ChamferBox01");
    EXPECT_EQ(box.Kind(), PrimitiveKind::Triangles);
    EXPECT_EQ(box.Flags(), 15u);
    EXPECT_EQ(box.Positions().Count(), 744u);
    EXPECT_EQ(box.Normals().Count(), 744u);
    EXPECT_EQ(box.TexCoords().Count(), 496u);
    EXPECT_EQ(box.SecondTexCoords().Count(), 496u);
    EXPECT_EQ(box.Colours().Count(), 0u);
    EXPECT_EQ(box.Indices().Count(), 1476u);
    EXPECT_EQ(box.FaceNormals().Count(), 4428u);
    for (std::size_t i = 0; i < box.TexCoords().Count(); ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &box.TexCoords()[i], 4);
        ASSERT_EQ(bits, 0xCDCDCDCDu);
    }

    // Every edge is shared by exactly two triangles, once in each direction.
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    const auto& idx = box.Indices();
    for (std::size_t t = 0; t < 492; ++t) {
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = idx[3 * t + k];
            const std::uint32_t b = idx[3 * t + (k + 1) % 3];
            ASSERT_LT(a, 248u);
            ++edges[{a, b}];
        }
    }
    for (const auto& [edge, count] : edges) {
        ASSERT_EQ(count, 1) << edge.first << "-" << edge.second;
        ASSERT_EQ(edges.count({edge.second, edge.first}), 1u);
    }
    EXPECT_EQ(edges.size(), 492u * 3);

    // Bounds ±5; triangles wound like the cube's faces (clockwise seen from
    // outside, so their winding normal points in); unit vertex normals
    // pointing away for the sphere map.
    const auto& p = box.Positions();
    float extreme = 0;
    for (std::size_t i = 0; i < 744; ++i) {
        extreme = std::fmax(extreme, std::fabs(p[i]));
    }
    EXPECT_FLOAT_EQ(extreme, 5.0f);
    for (std::size_t t = 0; t < 492; ++t) {
        float centre[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            for (int a = 0; a < 3; ++a) {
                centre[a] += p[3 * idx[3 * t + k] + a] / 3;
            }
        }
        const float* n = &box.FaceNormals()[3 * t];
        ASSERT_LT(n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2], 0.0f) << t;
    }
    for (std::size_t v = 0; v < 248; ++v) {
        const float* n = &box.Normals()[3 * v];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-5f);
        EXPECT_GT(n[0] * p[3 * v] + n[1] * p[3 * v + 1] + n[2] * p[3 * v + 2], 0.0f);
    }
}

TEST(MeshOperations, SetPrimitivesSizesTheIndexAndFaceNormalArrays) {
    Mesh mesh;
    ASSERT_EQ(mesh.SetPrimitives(PrimitiveKind::Quads, 3), S_OK);
    EXPECT_EQ(mesh.Indices().Count(), 12u);
    EXPECT_EQ(mesh.FaceNormals().Count(), 36u);
    ASSERT_EQ(mesh.SetPrimitives(PrimitiveKind::Triangles, 0), S_OK);
    EXPECT_EQ(mesh.Indices().Count(), 0u);
    EXPECT_EQ(mesh.Indices().Capacity(), 0u);
    EXPECT_EQ(mesh.FaceNormals().Count(), 0u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::LineStrip, 4), 5u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::LineLoop, 4), 4u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::Lines, 4), 8u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::TriangleFan, 4), 6u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::QuadStrip, 4), 10u);
    EXPECT_EQ(IndicesForPrimitives(PrimitiveKind::None, 4), 0u);
}

TEST(MeshOperations, TextureSlotsAndNames) {
    Mesh mesh;
    Texture chrome;
    EXPECT_EQ(mesh.SetTextureName(nullptr, 0), E_POINTER);
    EXPECT_EQ(mesh.SetTextureName("a", 2), E_FAIL);
    EXPECT_EQ(mesh.SetTextureName("a", -1), S_OK);
    EXPECT_EQ(mesh.SetTexture(nullptr, 0), E_POINTER);
    EXPECT_EQ(mesh.SetTexture(&chrome, 2), E_FAIL);
    EXPECT_EQ(mesh.SetTexture(&chrome, -1), S_OK);
    EXPECT_EQ(mesh.GetTexture(0), nullptr);

    ASSERT_EQ(mesh.SetTextureName("chrome.bmp", 0), S_OK);
    ASSERT_EQ(mesh.SetTexture(&chrome, 0), S_OK);
    ASSERT_EQ(mesh.SetTextureName("chrome.bmp", 0), S_OK);
    EXPECT_EQ(mesh.GetTexture(0), &chrome);  // same name keeps it
    ASSERT_EQ(mesh.SetTextureName("sky.bmp", 0), S_OK);
    EXPECT_EQ(mesh.GetTexture(0), nullptr);  // another name clears it
    EXPECT_STREQ(mesh.GetTextureName(0), "sky.bmp");
    EXPECT_EQ(mesh.GetTextureName(2), nullptr);

    // A 16-character name fills the field without a terminator; reading it
    // back is bounded by the field.
    ASSERT_EQ(mesh.SetTextureName("0123456789abcdefXYZ", 1), S_OK);
    EXPECT_EQ(std::string(mesh.GetTextureName(1), Mesh::kNameBytes), "0123456789abcdef");
}

TEST(MeshOperations, VertexCountsFlagsAndClearing) {
    Mesh mesh;
    ASSERT_EQ(mesh.SetVertexCount(4, true, true, true, false), S_OK);
    EXPECT_EQ(mesh.Flags(), 1u | 2u | 4u | 16u);
    EXPECT_EQ(mesh.Normals().Count(), 12u);
    EXPECT_EQ(mesh.Colours().Count(), 12u);
    ASSERT_EQ(mesh.SetVertexCount(2, false, true, false, false), S_OK);
    EXPECT_EQ(mesh.Flags(), 1u | 4u);
    EXPECT_EQ(mesh.Normals().Count(), 12u);  // not requested: kept, only the flag goes
    mesh.SetVertex(1, 0.25f, 0.75f, 1, 2, 3);
    EXPECT_EQ(mesh.Positions()[3], 1.0f);
    EXPECT_EQ(mesh.TexCoords()[3], 0.75f);
    mesh.SetVertex(99, 0, 0, 0, 0, 0);  // beyond the arrays: ignored

    Texture texture;
    mesh.SetObjectName("Keep");
    mesh.SetTextureName("t", 1);
    mesh.SetTexture(&texture, 1);
    mesh.SetTexture(&texture, 0);
    mesh.ClearArrays();
    EXPECT_EQ(mesh.Positions().Count(), 0u);
    EXPECT_EQ(mesh.Flags(), 0u);
    EXPECT_EQ(mesh.Kind(), PrimitiveKind::None);
    EXPECT_EQ(mesh.GetTexture(0), nullptr);
    EXPECT_EQ(mesh.GetTexture(1), &texture);
    EXPECT_STREQ(mesh.GetTextureName(1), "");
    EXPECT_STREQ(mesh.ObjectName(), "Keep");
}

TEST(MeshRecord, CopyFromAndDamagedRecords) {
    Mesh box;
    ASSERT_EQ(box.LoadFromResource("CUBE2.MSH"), S_OK);
    Mesh copy;
    ASSERT_EQ(copy.CopyFrom(box), S_OK);
    EXPECT_EQ(copy.Indices().Count(), 1476u);
    EXPECT_STREQ(copy.ObjectName(), "ChamferBox01");
    EXPECT_EQ(0, std::memcmp(copy.Positions().Data(), box.Positions().Data(), 744 * 4));

    std::size_t size = 0;
    ASSERT_EQ(box.RecordSize(size), S_OK);
    EXPECT_EQ(size, 33716u);
    std::vector<std::uint8_t> record(size);
    ASSERT_EQ(box.Serialize(SerializeDirection::Write, record.data(), size, nullptr, false), S_OK);
    for (std::size_t cut : {std::size_t{0}, std::size_t{50}, std::size_t{96}, size / 2, size - 1}) {
        Mesh damaged;
        EXPECT_NE(damaged.Serialize(SerializeDirection::Read, record.data(), cut, nullptr, false),
                  S_OK)
            << cut;
    }
    // The body alone: arrays without the 96-byte header, counted in full.
    std::vector<std::uint8_t> body(size - Mesh::kHeaderBytes);
    std::size_t counted = 0;
    ASSERT_EQ(box.Serialize(SerializeDirection::Write, body.data(), body.size(), &counted, true),
              S_OK);
    EXPECT_EQ(counted, size);
    EXPECT_EQ(0, std::memcmp(body.data(), record.data() + Mesh::kHeaderBytes, body.size()));
}

// The scene draws without a depth test; that is sound only while every face
// corner lies inside the glass case, behind the plane of each of its triangles.
TEST(BuiltInMeshes, TheFacesLieInsideTheGlassCase) {
    Mesh box;
    ASSERT_EQ(box.LoadFromResource("CUBE2.MSH"), S_OK);
    const auto& p = box.Positions();
    const auto& idx = box.Indices();
    float closest = 1e9f;
    for (int f = 0; f < 6; ++f) {
        Mesh face;
        ASSERT_EQ(face.LoadFromResource(("PCUBE" + std::to_string(f) + ".MSH").c_str()), S_OK);
        for (std::size_t v = 0; v < 4; ++v) {
            const float* corner = &face.Positions()[3 * v];
            for (std::size_t t = 0; t < idx.Count() / 3; ++t) {
                const float* n = &box.FaceNormals()[3 * t];  // points in
                const float* a = &p[3 * idx[3 * t]];
                float inside = 0;
                for (int k = 0; k < 3; ++k) {
                    inside += n[k] * (corner[k] - a[k]);
                }
                closest = std::fmin(closest, inside);
            }
        }
    }
    EXPECT_GT(closest, 0.1f);
}

}  // namespace
}  // namespace velmora::engine
