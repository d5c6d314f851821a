// The cube scene on the GL device: start, one frame (update, background,
// cube, glass, overlays, present) and the end of a run.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/random.h"
#include "base/status.h"
#include "engine/gl_device.h"
#include "scene/cube_scene.h"
#include "scene/frame_schedule.h"
#include "scene/picture_loading.h"
#include "scene/scene_update.h"
#include "scene/scene_viewports.h"
#include "settings/cube_settings.h"

namespace velmora::scene {

struct OverlaySwitches {
    bool pictureNames = false;
    bool frameRate = false;
    bool dateTime = false;
};

class CubeSceneRunner : public SceneServices {
public:
    // The loader fills the pending texture with pictureLoad; empty: with the
    // next picture of the list.
    CubeSceneRunner(engine::GlDevice& device, RandomGenerator& random,
                    PictureLoad pictureLoad = {});
    ~CubeSceneRunner() override;

    // Attaches the device to window and builds the scene; the loader starts.
    // E_OUTOFMEMORY, or E_FAIL when the device cannot attach or the loader
    // cannot start, after freeing what was built.
    HRESULT Start(void* window, const settings::CubeSettings& settings,
                  const OverlaySwitches& overlays, const std::vector<std::string>& pictures,
                  bool preview);
    // One frame of dt seconds; nowMilliseconds is the frame clock's reading.
    HRESULT Frame(float dt, double nowMilliseconds);
    // When the frame after the last one is due (lessProcessor: every other
    // refresh tick while something moves). The answer given last decides
    // whether the next frame's time tells the loader that frames are slow.
    FrameDue NextFrameDue(bool lessProcessor);
    // Asks the loader to stop, frees every GL texture and mesh and releases
    // the context, without waiting for the loader: the scene waits for it
    // when it is destroyed.
    HRESULT Finish();

    // Where the frames draw in the window; none (the default): the whole
    // window holds the scene.
    void SetViewports(std::optional<SceneViewports> viewports);

    // "A" and "S"; true when the key was one of them.
    bool HandleKey(unsigned virtualKey);

    CubeScene& Scene() { return scene_; }
    Texture* FontTexture() { return font_.get(); }

    void SetLoaderPriority(ThreadPriority priority) override;
    void UploadPendingPicture(Texture* faceTexture, Texture* pending) override;

private:
    void LoadMeshes();
    void LoadFirstPictures();
    HRESULT StartPictureLoader();
    void BindMeshTextures(int glass);
    void SetView(std::uint32_t backgroundColour);
    void DrawBackground();
    void UseViewport(const Viewport& viewport);
    void DrawCube();
    void DrawGlass();
    void DrawOverlays(double nowMilliseconds);
    void BindFont();

    engine::GlDevice& device_;
    RandomGenerator& random_;
    CubeScene scene_;
    std::unique_ptr<Texture> font_;
    OverlaySwitches overlays_;
    PictureLoad pictureLoad_;
    std::optional<SceneViewports> viewports_;
    float clearColour_[3] = {0, 0, 0};
    bool started_ = false;
    // Frame-rate overlay counters.
    int framesCounted_ = 0;
    int framesShown_ = 0;
    double resetTime_ = -1;
    // What the last frame showed, for the next frame's due moment.
    double lastFrameTime_ = 0;
    std::int32_t loaderStateShown_ = kLoaderIdle;
    double secondsToNextClockSecond_ = 1;
    FrameDue lastDue_;
};

}  // namespace velmora::scene
