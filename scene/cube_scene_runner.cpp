#include "scene/cube_scene_runner.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <numbers>
#include <utility>

#include "base/local_time.h"
#include "base/platform.h"
#include "engine/gl_api.h"
#include "engine/glyph_table.h"
#include "scene/picture_loading.h"
#include "scene/scene_meshes.h"
#include "scene/scene_texts.h"

namespace velmora::scene {

namespace {

// gluPerspective's matrix, kept here so the drawing needs nothing beyond GL.
engine::Matrix4 Perspective(float fieldOfViewDegrees, float aspect, float nearPlane,
                            float farPlane) {
    const float f = 1.0f / std::tan(fieldOfViewDegrees * std::numbers::pi_v<float> / 360.0f);
    engine::Matrix4 m;
    const float values[16] = {f / aspect,
                              0,
                              0,
                              0,
                              0,
                              f,
                              0,
                              0,
                              0,
                              0,
                              (farPlane + nearPlane) / (nearPlane - farPlane),
                              -1,
                              0,
                              0,
                              2 * farPlane * nearPlane / (nearPlane - farPlane),
                              0};
    m.Set(values);
    return m;
}

}  // namespace

CubeSceneRunner::CubeSceneRunner(engine::GlDevice& device, RandomGenerator& random,
                                 PictureLoad pictureLoad)
    : device_(device), random_(random), pictureLoad_(std::move(pictureLoad)) {}

CubeSceneRunner::~CubeSceneRunner() {
    Finish();
}

HRESULT CubeSceneRunner::Start(void* window, const settings::CubeSettings& settings,
                               const OverlaySwitches& overlays,
                               const std::vector<std::string>& pictures, bool preview) {
    // From here Finish has something to free; a failed start ends with it, so
    // the caller gets the status and nothing else to clean up.
    started_ = true;
    HRESULT status = S_OK;
    try {
        overlays_ = overlays;
        scene_.pictureList = pictures;
        ApplySettings(scene_, settings, preview, random_);
        status = device_.Attach(window);
        if (SUCCEEDED(status)) {
            LoadMeshes();
            LoadFirstPictures();
            if (scene_.starCount > 0) {
                BuildStarMesh(scene_.starMesh, scene_.starCount, random_);
            }
            BuildBackgroundQuad(scene_.backgroundQuad);
            status = StartPictureLoader();
        }
        if (SUCCEEDED(status)) {
            BindMeshTextures(settings.CubeGlass);
            SetView(settings.BackgroundColor);
            font_ = std::make_unique<Texture>();
            font_->LoadFromResource(DecodeText(texts::kFontTexture).c_str());
        }
    } catch (const std::bad_alloc&) {
        status = E_OUTOFMEMORY;
    }
    if (FAILED(status)) {
        Finish();
    }
    return status;
}

void CubeSceneRunner::SetViewports(std::optional<SceneViewports> viewports) {
    viewports_ = std::move(viewports);
}

void CubeSceneRunner::LoadMeshes() {
    const std::string faceFormat = DecodeText(texts::kFaceMeshFormat);
    for (int face = 0; face < kFaceCount; ++face) {
        char name[32];
        std::snprintf(name, sizeof name, faceFormat.c_str(), face);
        scene_.faceMeshes[static_cast<std::size_t>(face)].LoadFromResource(name);
    }
    Mesh loaded;
    loaded.LoadFromResource(DecodeText(texts::kGlassMesh).c_str());
    auto glassMesh = std::make_unique<Mesh>();
    glassMesh->CopyFrom(loaded);
    glassMesh->SetTextureName(DecodeText(texts::kFirstEnvironmentTexture).c_str(), 0);
    scene_.glassMeshes.push_back(std::move(glassMesh));
}

// The background and face 0 on the main thread, before the loader starts.
void CubeSceneRunner::LoadFirstPictures() {
    if (scene_.backgroundPicture != 0) {
        scene_.backgroundTexture = std::make_unique<Texture>();
        LoadNextPicture(scene_, scene_.backgroundTexture.get(), true, random_);
        device_.UploadTexture(scene_.backgroundTexture.get());
        scene_.backgroundTexture->ReleasePixels();
    }
    scene_.faceTextures[0] = std::make_unique<Texture>();
    LoadNextPicture(scene_, scene_.faceTextures[0].get(), false, random_);
    device_.UploadTexture(scene_.faceTextures[0].get());
    scene_.faceTextures[0]->ReleasePixels();

    // Faces without a picture of their own show the default picture.
    scene_.defaultFaceTexture = std::make_unique<Texture>();
    if (SUCCEEDED(scene_.defaultFaceTexture->LoadFromResource(
            DecodeText(texts::kDefaultPicture).c_str()))) {
        device_.UploadTexture(scene_.defaultFaceTexture.get());
        scene_.defaultFaceTexture->ReleasePixels();
    }
}

HRESULT CubeSceneRunner::StartPictureLoader() {
    PictureLoad load = pictureLoad_;
    if (!load) {
        load = [this](Texture* texture) {
            return LoadNextPicture(scene_, texture, false, random_);
        };
    }
    return StartLoader(scene_, std::move(load)) ? S_OK : E_FAIL;
}

void CubeSceneRunner::BindMeshTextures(int glass) {
    for (Mesh& face : scene_.faceMeshes) {
        if (FAILED(device_.BindMeshTexture(&face))) {
            break;
        }
    }
    if (glass != settings::cube_glass::SkyBlue && glass != settings::cube_glass::SilverChrome) {
        scene_.glass = 0;
        return;
    }
    const std::string name = glass == settings::cube_glass::SkyBlue
                                 ? DecodeText(texts::kFirstEnvironmentTexture)
                                 : DecodeText(texts::kSecondEnvironmentTexture);
    for (auto& glassMesh : scene_.glassMeshes) {
        glassMesh->SetTextureName(name.c_str(), 0);
        device_.BindMeshTexture(glassMesh.get());
    }
}

void CubeSceneRunner::SetView(std::uint32_t backgroundColour) {
    scene_.sceneReady = true;
    glMatrixMode(GL_PROJECTION);
    const engine::Matrix4 projection = Perspective(50.0f, 1.33f, 1.0f, 300.0f);
    device_.LoadMatrix(&projection);
    glMatrixMode(GL_MODELVIEW);
    for (int c = 0; c < 3; ++c) {
        clearColour_[c] = static_cast<float>((backgroundColour >> (8 * c)) & 0xFF) / 255.0f;
    }
    glClearColor(clearColour_[0], clearColour_[1], clearColour_[2], 1.0f);
}

void CubeSceneRunner::SetLoaderPriority(ThreadPriority priority) {
    scene_.loaderThread.SetPriority(priority);
}

void CubeSceneRunner::UploadPendingPicture(Texture* faceTexture, Texture* pending) {
    if (pending == nullptr) {
        return;
    }
    if (faceTexture != nullptr && faceTexture->GlName() != 0 &&
        SUCCEEDED(device_.ReplaceTextureImage(faceTexture, pending))) {
        return;
    }
    if (faceTexture != nullptr) {
        device_.DeleteGlTexture(faceTexture);
    }
    device_.UploadTexture(pending);
}

bool CubeSceneRunner::HandleKey(unsigned virtualKey) {
    if (virtualKey == 'A') {
        Advance(scene_);
        return true;
    }
    if (virtualKey == 'S') {
        StartSpin(scene_, random_);
        return true;
    }
    return false;
}

HRESULT CubeSceneRunner::Frame(float dt, double nowMilliseconds) {
    if (!started_) {
        return S_OK;
    }
    if (scene_.sceneReady) {
        // Only frames drawn one tick after another tell how slow drawing is;
        // a frame after a rest has waited on purpose.
        const float loaderSeconds =
            lastDue_.wait == FrameWait::Tick ? dt / static_cast<float>(lastDue_.ticks) : -1.0f;
        UpdateScene(scene_, dt, loaderSeconds, random_, *this);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The clear covers the whole window whatever the viewport. Depth is
    // neither cleared nor tested (see DrawCube): on a software renderer the
    // depth buffer costs about a seventh of every turning frame.
    device_.Clear(true, false);
    if (viewports_) {
        for (const Viewport& monitor : viewports_->backgroundOnly) {
            UseViewport(monitor);
            DrawBackground();
        }
        UseViewport(viewports_->scene);
    }
    DrawBackground();
    DrawCube();
    DrawGlass();
    DrawOverlays(nowMilliseconds);
    lastFrameTime_ = nowMilliseconds;
    if (overlays_.dateTime) {
        secondsToNextClockSecond_ = (1000.0 - platform::WallClockMillisecond()) * 0.001;
    }
    return device_.Present();
}

FrameDue CubeSceneRunner::NextFrameDue(bool lessProcessor) {
    OverlayTiming timing;
    timing.frameRate = overlays_.frameRate;
    timing.dateTime = overlays_.dateTime;
    timing.framesShown = framesShown_;
    timing.framesCounted = framesCounted_;
    timing.secondsSinceReset = resetTime_ < 0 ? 0 : (lastFrameTime_ - resetTime_) * 0.001;
    timing.loaderStateShown = loaderStateShown_;
    timing.secondsToNextClockSecond = secondsToNextClockSecond_;
    lastDue_ = scene::NextFrameDue(scene_, timing, lessProcessor);
    return lastDue_;
}

void CubeSceneRunner::UseViewport(const Viewport& viewport) {
    device_.SetViewport(viewport.x, viewport.y, viewport.width, viewport.height);
}

void CubeSceneRunner::DrawBackground() {
    if (scene_.starCount <= 0 && scene_.backgroundPicture == 0) {
        return;
    }
    if (scene_.backgroundPicture != 0) {
        device_.Begin2D(180, 120, engine::GlDevice::Flat2D::Picture);
        device_.UploadTexture(scene_.backgroundTexture.get());
        device_.DrawMesh(&scene_.backgroundQuad);
    } else {
        device_.Begin2D(180, 120, engine::GlDevice::Flat2D::Untextured);
        device_.DrawMesh(&scene_.starMesh);
    }
    device_.End2D();
}

void CubeSceneRunner::DrawCube() {
    engine::Matrix4 modelView;
    modelView.Translate(0, 0, -50);
    modelView.Translate(scene_.position.x, scene_.position.y, scene_.z);
    modelView.RotateX(scene_.spinAngles.x);
    modelView.RotateY(scene_.spinAngles.y);
    modelView.RotateZ(scene_.spinAngles.z);
    modelView.PostMultiply(scene_.currentOrientation.ToMatrix());
    device_.LoadMatrix(&modelView);

    // No surface can hide another, so nothing tests depth: the faces close a
    // convex box whose far side is culled, and the glass case encloses the
    // box, so its near side is always in front of the faces.
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glColor4f(1, 1, 1, 1);
    for (int face = 0; face < kFaceCount; ++face) {
        Texture* texture = scene_.faceTextures[static_cast<std::size_t>(face)].get();
        if (texture == nullptr) {
            texture = scene_.defaultFaceTexture.get();
        }
        if (texture != nullptr) {
            device_.UploadTexture(texture);
        }
        device_.DrawMesh(&scene_.faceMeshes[static_cast<std::size_t>(face)]);
    }
}

void CubeSceneRunner::DrawGlass() {
    if (scene_.glass == 0) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(1, 1, 1, scene_.glassAlpha);
    for (auto& glassMesh : scene_.glassMeshes) {
        if (Texture* texture = glassMesh->GetTexture(0)) {
            device_.UploadTexture(texture);
        }
        device_.DrawMesh(glassMesh.get());
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_BLEND);
    glPopAttrib();
}

void CubeSceneRunner::BindFont() {
    if (font_ != nullptr) {
        device_.UploadTexture(font_.get());
    }
}

// The overlays are laid out in fractions of the viewport, not in pixels, so
// the text keeps its size on the screen at any DPI: the window and viewport
// are the monitor's real pixels in a DPI-aware process.
void CubeSceneRunner::DrawOverlays(double nowMilliseconds) {
    if (overlays_.pictureNames) {
        const Texture* shown =
            scene_.faceTextures[static_cast<std::size_t>(scene_.currentFace)].get();
        if (shown != nullptr) {
            BindFont();
            device_.Begin2D(50, 25, engine::GlDevice::Flat2D::Text);
            glColor4f(0.7f, 0.7f, 0.7f, 1.0f);
            const std::string name = ReducedPictureName(shown->Name());
            device_.DrawText(25, 23.5f, engine::kTextCentred,
                             DecodeText(texts::kPictureNameFormat).c_str(), name.c_str());
            device_.End2D();
        }
    }
    if (overlays_.frameRate) {
        ++framesCounted_;
        if (resetTime_ < 0) {
            resetTime_ = nowMilliseconds;
        }
        if (nowMilliseconds - resetTime_ > 1000.0) {
            framesShown_ = framesCounted_;
            framesCounted_ = 0;
            resetTime_ = nowMilliseconds;
        }
        BindFont();
        device_.Begin2D(100, 50, engine::GlDevice::Flat2D::Text);
        glColor4f(1, 1, 1, 1);
        device_.DrawText(1, 48, 0, DecodeText(texts::kFrameRateFormat).c_str(), framesShown_);
        device_.End2D();
    }
    if (overlays_.dateTime) {
        platform::LocalTimeTexts now;
        if (platform::ReadLocalTimeTexts(now)) {
            BindFont();
            device_.Begin2D(100, 50, engine::GlDevice::Flat2D::Text);
            glColor4f(1, 1, 1, 1);
            const bool even = now.minute % 2 == 0;
            device_.DrawText(99, even ? 48.0f : 47.0f, engine::kTextRightAligned, "%s",
                             now.date.c_str());
            device_.DrawText(99, even ? 47.0f : 48.0f, engine::kTextRightAligned, "%s",
                             now.time.c_str());
            device_.End2D();
        }
    }
    loaderStateShown_ = scene_.loaderState.load();
    if (overlays_.frameRate && loaderStateShown_ == kLoaderLoading) {
        BindFont();
        device_.Begin2D(100, 50, engine::GlDevice::Flat2D::Text);
        glColor4f(1, 1, 1, 1);
        device_.DrawText(1, 47, 0, "%s", DecodeText(texts::kLoadingText).c_str());
        device_.End2D();
    }
}

HRESULT CubeSceneRunner::Finish() {
    if (!started_) {
        return S_OK;
    }
    started_ = false;
    // Only asked: a loader stuck in a slow read must not hold up the end of
    // the run. It uses none of what is freed here; the scene waits for it
    // when it goes, before the pending texture and the picture list go.
    RequestLoaderStop(scene_);
    device_.RemoveTexture(DecodeText(texts::kFirstEnvironmentTexture).c_str());
    device_.RemoveTexture(DecodeText(texts::kSecondEnvironmentTexture).c_str());
    for (auto& glassMesh : scene_.glassMeshes) {
        device_.ReleaseMeshTexture(glassMesh.get());
    }
    for (Mesh& face : scene_.faceMeshes) {
        device_.ReleaseMeshTexture(&face);
        face.ClearArrays();
    }
    for (auto& texture : scene_.faceTextures) {
        if (texture != nullptr) {
            device_.DeleteGlTexture(texture.get());
            texture.reset();
        }
    }
    for (std::unique_ptr<Texture>* texture :
         {&scene_.backgroundTexture, &scene_.defaultFaceTexture}) {
        if (*texture != nullptr) {
            device_.DeleteGlTexture(texture->get());
            texture->reset();
        }
    }
    scene_.glassMeshes.clear();
    if (font_ != nullptr) {
        device_.DeleteGlTexture(font_.get());
    }
    scene_.sceneReady = false;
    device_.Attach(nullptr);
    return S_OK;
}

}  // namespace velmora::scene
