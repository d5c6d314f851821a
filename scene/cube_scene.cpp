#include "scene/cube_scene.h"

#include <numbers>

namespace velmora::scene {

Quaternion FaceOrientation(int face) {
    constexpr float pi = std::numbers::pi_v<float>;
    // Angles about Z, Y and X, combined Z·Y·X.
    static const float angles[kFaceCount][3] = {{0, 0, -pi / 2},     {pi / 2, pi, 0},
                                                {pi / 2, pi / 2, 0}, {pi, 0, pi / 2},
                                                {0, 0, 0},           {0, -pi / 2, 0}};
    const float* a = angles[face];
    return Quaternion::FromEuler(a[0], a[1], a[2]);
}

CubeScene::CubeScene() {
    for (int i = 0; i < kFaceCount; ++i) {
        faceOrientations[static_cast<std::size_t>(i)] = FaceOrientation(i);
    }
    targetOrientation = faceOrientations[0];
    startOrientation = faceOrientations[0];
    currentOrientation = faceOrientations[0];
}

CubeScene::~CubeScene() {
    stop.store(1);
    loaderThread.Join();
}

}  // namespace velmora::scene
