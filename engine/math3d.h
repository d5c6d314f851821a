// The small vector, quaternion and matrix types of the scene's transforms.
#pragma once

namespace velmora::engine {

struct Vector3 {
    float x = 0;
    float y = 0;
    float z = 0;

    void Set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }
    float Dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    void Scale(float s) {
        x *= s;
        y *= s;
        z *= s;
    }
    void Add(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
    }
    void Subtract(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
    }
    void CopyFrom(const Vector3& o) { *this = o; }
};

Vector3 Scaled(const Vector3& v, float s);

struct Matrix4;

struct Quaternion {
    float w = 1;
    float x = 0;
    float y = 0;
    float z = 0;

    // a about Z, b about Y, c about X (radians), applied Z, then Y, then X.
    static Quaternion FromEuler(float a, float b, float c);
    Matrix4 ToMatrix() const;
    void CopyFrom(const Quaternion& o) { *this = o; }
};

// Spherical interpolation from q1 (t = 0) to q2 (t = 1), along the shorter
// way; linear when the two are closer than the threshold (1 - dot).
Quaternion Slerp(const Quaternion& q1, const Quaternion& q2, float t, float threshold);

// 16 floats in OpenGL's column-major order: element (row r, column c) is
// m[c * 4 + r]; the translation is in m[12], m[13], m[14].
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    void SetIdentity();
    void Set(const float values[16]);
    void CopyFrom(const Matrix4& o) { *this = o; }
    // this = this × other
    void PostMultiply(const Matrix4& other);
    void RotateX(float angle);
    void RotateY(float angle);
    void RotateZ(float angle);
    void Translate(float tx, float ty, float tz);
};

// a × b
Matrix4 Product(const Matrix4& a, const Matrix4& b);

}  // namespace velmora::engine
