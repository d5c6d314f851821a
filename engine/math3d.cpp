#include "engine/math3d.h"

#include <cmath>
#include <cstring>

namespace velmora::engine {

Vector3 Scaled(const Vector3& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}

Quaternion Quaternion::FromEuler(float a, float b, float c) {
    const float sa = std::sin(a / 2), ca = std::cos(a / 2);
    const float sb = std::sin(b / 2), cb = std::cos(b / 2);
    const float sc = std::sin(c / 2), cc = std::cos(c / 2);
    Quaternion q;
    q.w = sc * sb * sa + ca * cb * cc;
    q.x = sc * ca * cb - sb * sa * cc;
    q.y = cb * sc * sa + cc * sb * ca;
    q.z = cc * sa * cb - ca * sc * sb;
    const float scale = 1.0f / (q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    q.w *= scale;
    q.x *= scale;
    q.y *= scale;
    q.z *= scale;
    return q;
}

Matrix4 Quaternion::ToMatrix() const {
    Matrix4 r;
    r.m[0] = 1 - 2 * (y * y + z * z);
    r.m[1] = 2 * (x * y + z * w);
    r.m[2] = 2 * (x * z - y * w);
    r.m[3] = 0;
    r.m[4] = 2 * (x * y - z * w);
    r.m[5] = 1 - 2 * (x * x + z * z);
    r.m[6] = 2 * (y * z + x * w);
    r.m[7] = 0;
    r.m[8] = 2 * (x * z + y * w);
    r.m[9] = 2 * (y * z - x * w);
    r.m[10] = 1 - 2 * (x * x + y * y);
    r.m[11] = 0;
    r.m[12] = r.m[13] = r.m[14] = 0;
    r.m[15] = 1;
    return r;
}

Quaternion Slerp(const Quaternion& q1, const Quaternion& q2, float t, float threshold) {
    Quaternion from = q1;
    float d = from.w * q2.w + from.x * q2.x + from.y * q2.y + from.z * q2.z;
    if (d < 0) {
        from.w = -from.w;
        from.x = -from.x;
        from.y = -from.y;
        from.z = -from.z;
        d = -d;
    }
    float w1 = 1 - t;
    float w2 = t;
    if (1 - d > threshold) {
        const float theta = std::acos(d);
        const float s = std::sin(theta);
        w1 = std::sin((1 - t) * theta) / s;
        w2 = std::sin(t * theta) / s;
    }
    Quaternion out;
    out.w = w1 * from.w + w2 * q2.w;
    out.x = w1 * from.x + w2 * q2.x;
    out.y = w1 * from.y + w2 * q2.y;
    out.z = w1 * from.z + w2 * q2.z;
    return out;
}

void Matrix4::SetIdentity() {
    *this = Matrix4{};
}

void Matrix4::Set(const float values[16]) {
    std::memcpy(m, values, sizeof m);
}

Matrix4 Product(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            }
            r.m[column * 4 + row] = sum;
        }
    }
    return r;
}

void Matrix4::PostMultiply(const Matrix4& other) {
    *this = Product(*this, other);
}

void Matrix4::RotateX(float angle) {
    Matrix4 r;
    r.m[5] = r.m[10] = std::cos(angle);
    r.m[6] = std::sin(angle);
    r.m[9] = -std::sin(angle);
    PostMultiply(r);
}

void Matrix4::RotateY(float angle) {
    Matrix4 r;
    r.m[0] = r.m[10] = std::cos(angle);
    r.m[8] = std::sin(angle);
    r.m[2] = -std::sin(angle);
    PostMultiply(r);
}

void Matrix4::RotateZ(float angle) {
    Matrix4 r;
    r.m[0] = r.m[5] = std::cos(angle);
    r.m[1] = std::sin(angle);
    r.m[4] = -std::sin(angle);
    PostMultiply(r);
}

void Matrix4::Translate(float tx, float ty, float tz) {
    Matrix4 t;
    t.m[12] = tx;
    t.m[13] = ty;
    t.m[14] = tz;
    PostMultiply(t);
}

}  // namespace velmora::engine
