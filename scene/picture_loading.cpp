#include "scene/picture_loading.h"

#include <string>

#include "base/platform.h"
#include "scene/media_lists.h"
#include "scene/scene_texts.h"

namespace velmora::scene {

HRESULT LoadNextPicture(CubeScene& scene, Texture* texture, bool backgroundRequest,
                        RandomGenerator& random) {
    if (texture == nullptr) {
        return E_POINTER;
    }
    std::string path;
    const bool havePath =
        ChooseNextPicture(scene.pictureList, scene.nextIndex, scene.remainingOrder,
                          scene.randomize != 0, backgroundRequest, random, path);
    if (havePath) {
        const HRESULT loaded = texture->LoadFromPicture(
            path.c_str(), scene.textureSizeLimit, scene.textureSizeLimit, scene.fillColour[0],
            scene.fillColour[1], scene.fillColour[2], scene.keepAspect != 0, true, false);
        if (SUCCEEDED(loaded)) {
            return loaded;
        }
    }
    const HRESULT loaded = texture->LoadFromResource(DecodeText(texts::kDefaultPicture).c_str());
    texture->SetName(DecodeText(texts::kDefaultPictureName).c_str());
    texture->Resize(scene.textureSizeLimit, scene.textureSizeLimit, true, false);
    return loaded;
}

void RunLoader(CubeScene& scene, const PictureLoad& load) {
    while (scene.stop.load() == 0) {
        scene.loaderState.store(kLoaderLoading);
        scene.loaderEvent.Signal();
        load(scene.pendingTexture.get());
        scene.loaderState.store(kLoaderLoaded);
        const bool reached = scene.faceReached.load(std::memory_order_acquire) != 0;
        scene.ready.store(1, std::memory_order_release);
        scene.loaderEvent.Signal();
        if (!reached) {
            while (scene.stop.load() == 0 && scene.faceReached.load() == 0) {
                platform::SleepMilliseconds(10);
            }
        }
        scene.faceReached.store(0);
        // The main thread owns the pending texture until it clears the flag.
        while (scene.stop.load() == 0 && scene.ready.load(std::memory_order_acquire) != 0) {
            platform::SleepMilliseconds(10);
        }
    }
    scene.loaderRunning.store(false);
}

bool StartLoader(CubeScene& scene, PictureLoad load) {
    StopLoader(scene);
    scene.pendingTexture = std::make_unique<Texture>();
    scene.stop.store(0);
    scene.ready.store(0);
    scene.loaderRunning.store(true);
    const bool started = scene.loaderThread.Start(
        [&scene, load = std::move(load)] { RunLoader(scene, load); }, ThreadPriority::BelowNormal);
    if (!started) {
        scene.loaderRunning.store(false);
    }
    return started;
}

void RequestLoaderStop(CubeScene& scene) {
    scene.stop.store(1);
}

void WaitForLoader(CubeScene& scene) {
    scene.loaderThread.Join();
}

void StopLoader(CubeScene& scene) {
    RequestLoaderStop(scene);
    WaitForLoader(scene);
}

}  // namespace velmora::scene
