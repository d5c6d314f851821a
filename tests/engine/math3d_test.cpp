// Quaternions and matrices: face angles, rotation matrices and slerp.
#include "engine/math3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velmora::engine {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vector3 Apply(const Matrix4& m, const Vector3& v, float w = 0) {
    return {m.m[0] * v.x + m.m[4] * v.y + m.m[8] * v.z + m.m[12] * w,
            m.m[1] * v.x + m.m[5] * v.y + m.m[9] * v.z + m.m[13] * w,
            m.m[2] * v.x + m.m[6] * v.y + m.m[10] * v.z + m.m[14] * w};
}

void ExpectNear(const Vector3& a, const Vector3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(Quaternion, TheSixFaceAnglesTurnEachFaceTowardsTheViewer) {
    const float angles[6][3] = {{0, 0, -kPi / 2},  {kPi / 2, kPi, 0}, {kPi / 2, kPi / 2, 0},
                                {kPi, 0, kPi / 2}, {0, 0, 0},         {0, -kPi / 2, 0}};
    const Vector3 normals[6] = {{0, -1, 0}, {0, 0, -1}, {-1, 0, 0},
                                {0, 1, 0},  {0, 0, 1},  {1, 0, 0}};
    for (int face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        const Quaternion q =
            Quaternion::FromEuler(angles[face][0], angles[face][1], angles[face][2]);
        EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0f, 1e-5f);
        ExpectNear(Apply(q.ToMatrix(), normals[face]), {0, 0, 1});
    }
    const Quaternion identity = Quaternion::FromEuler(0, 0, 0);
    EXPECT_FLOAT_EQ(identity.w, 1.0f);
    EXPECT_FLOAT_EQ(identity.x, 0.0f);
}

TEST(Quaternion, ToMatrixIsTheStandardColumnMajorRotation) {
    // A quarter turn about Z takes x to y.
    const Quaternion q = Quaternion::FromEuler(kPi / 2, 0, 0);
    const Matrix4 m = q.ToMatrix();
    ExpectNear(Apply(m, {1, 0, 0}), {0, 1, 0});
    EXPECT_FLOAT_EQ(m.m[15], 1.0f);
    EXPECT_FLOAT_EQ(m.m[3], 0.0f);
    EXPECT_FLOAT_EQ(m.m[12], 0.0f);
}

TEST(Quaternion, SlerpEndsMiddleThresholdAndTheShorterWay) {
    const Quaternion a = Quaternion::FromEuler(0, 0, 0);
    const Quaternion b = Quaternion::FromEuler(kPi / 2, 0, 0);
    const Quaternion at0 = Slerp(a, b, 0, 0.001f);
    const Quaternion at1 = Slerp(a, b, 1, 0.001f);
    EXPECT_NEAR(at0.w, a.w, 1e-6f);
    EXPECT_NEAR(at1.z, b.z, 1e-6f);
    const Quaternion half = Slerp(a, b, 0.5f, 0.001f);
    ExpectNear(Apply(half.ToMatrix(), {1, 0, 0}), {std::cos(kPi / 4), std::sin(kPi / 4), 0});
    EXPECT_NEAR(half.w * half.w + half.z * half.z, 1.0f, 1e-5f);  // stays unit
    // Above the threshold the weights are linear: the midpoint is not unit.
    const Quaternion linear = Slerp(a, b, 0.5f, 0.9f);
    EXPECT_NEAR(linear.w, 0.5f * (a.w + b.w), 1e-6f);
    EXPECT_NEAR(linear.z, 0.5f * b.z, 1e-6f);
    // q and -q are the same rotation: the interpolation takes the short way.
    Quaternion negated = b;
    negated.w = -negated.w, negated.x = -negated.x, negated.y = -negated.y, negated.z = -negated.z;
    const Quaternion shortWay = Slerp(negated, b, 0.5f, 0.001f);
    ExpectNear(Apply(shortWay.ToMatrix(), {1, 0, 0}), {0, 1, 0});
}

TEST(Matrix4, RotationsAndTranslationArePostMultiplied) {
    Matrix4 m;
    m.Translate(1, 2, 3);
    m.RotateZ(kPi / 2);
    // this × R: the rotation acts first, then the translation.
    ExpectNear(Apply(m, {1, 0, 0}, 1), {1, 3, 3});
    Matrix4 r;
    r.RotateX(kPi / 2);
    ExpectNear(Apply(r, {0, 1, 0}), {0, 0, 1});
    r.SetIdentity();
    r.RotateY(kPi / 2);
    ExpectNear(Apply(r, {0, 0, 1}), {1, 0, 0});
    Matrix4 p = Product(m, r);
    Matrix4 q = m;
    q.PostMultiply(r);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(p.m[i], q.m[i]);
    }
    const float values[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    q.Set(values);
    EXPECT_FLOAT_EQ(q.m[13], 14.0f);
}

TEST(Vector3, Operations) {
    Vector3 v{1, 2, 3};
    EXPECT_FLOAT_EQ(v.Dot({4, 5, 6}), 32.0f);
    v.Add({1, 1, 1});
    v.Subtract({0, 0, 2});
    v.Scale(2);
    ExpectNear(v, {4, 6, 4});
    ExpectNear(Scaled(v, 0.5f), {2, 3, 2});
}

}  // namespace
}  // namespace velmora::engine
