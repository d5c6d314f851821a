// The cube saver: the application object of this program. It adds to the
// general frame the cube group of the settings record, the render device,
// the scene with its picture list and the font, and the music list with its
// player.
#pragma once

#include <string>
#include <vector>

#include "base/random.h"
#include "base/saver_clock.h"
#include "engine/gl_device.h"
#include "frame/saver_app.h"
#include "music/music_player.h"
#include "music/start_rule.h"
#include "scene/cube_scene_runner.h"
#include "settings/cube_pages.h"
#include "settings/cube_settings.h"

namespace velmora {

// What the cube saver calls outside itself: the system's, and the next
// picture of the list for the loader, unless the maker hands in others.
struct CubeSaverServices {
    SaverAppServices app;
    // How the loader fills the pending texture; empty: the scene's own.
    scene::PictureLoad pictureLoad;
};

class CubeSaverApp : public SaverApp {
public:
    // The settings dialog's cube pages are the ones given (none by default).
    explicit CubeSaverApp(settings::CubePages cubePages = {}, CubeSaverServices services = {});
    // The scene ends (loader stopped, textures freed) before the device goes.
    ~CubeSaverApp() override;

    // Moves the cube group; a read outside the settings dialog also builds the
    // picture and music lists.
    void TransferSettings(WindowHandle window, bool write, registry::RegistryKey* key, int group,
                          int firstIndex) override;
    Status Start(WindowHandle window, DeviceContextHandle dc) override;
    Status Frame(WindowHandle window, DeviceContextHandle dc) override;
    // A paint draws the next frame at once, even while the cube rests.
    Status Paint(WindowHandle window, DeviceContextHandle dc) override;
    Status Finish(WindowHandle window, DeviceContextHandle dc) override;
    void SetDefaults(WindowHandle window, int page) override;
    // The pictures, cube and music pages of the settings dialog.
    MessageResult BeforePageMessage(WindowHandle dialog, unsigned message, MessageParam wParam,
                                    MessageLParam lParam) override;
    MessageResult AfterPageMessage(WindowHandle dialog, unsigned message, MessageParam wParam,
                                   MessageLParam lParam) override;
    void ResizeViewport(WindowHandle window) override;
    // "A" and "S" are the scene's keys and do not end the saver; the music
    // window's notifications and the player's own posted message go to the
    // player.
    int MessageHook(WindowHandle window, unsigned message, MessageParam wParam,
                    MessageLParam lParam) override;
    // The music stops for the rest of the run.
    void OnDisplayPowerDown() override;
    // As the scene's state says; every other refresh tick while it moves
    // with "Use less processor resources" on.
    FrameSchedule NextFrame(double nowMilliseconds) override;

    // Builds both lists of a run from the lists stored below settingsKeyPath,
    // with the system's folders. Without a store (the settings key could not
    // be opened) nothing is stored, so the pictures come from the user's
    // folders and there is no music.
    void BuildRunLists(registry::RegistryStore* store, const std::string& settingsKeyPath);

    settings::CubeSettings cubeSettings;
    // Full paths of the run's pictures and songs.
    std::vector<std::string> pictureList;
    std::vector<std::string> musicList;

    engine::GlDevice device;
    scene::CubeSceneRunner scene;

    // The frame clock: the last frame's reading, taken at the first frame.
    SaverClock clock;
    double lastFrameTime = -1;

    // Plays musicList, which it shortens as songs fail; it closes its window
    // when the object goes.
    music::MusicPlayer musicPlayer{musicList, music::SystemMediaWindow(), ProcessRandom()};
    music::StartRule musicStart;

private:
    settings::CubePagesContext PagesContext();

    settings::CubePages cubePages_;
    // Frame pacing: the swap waits for the display's refresh (the driver
    // offers the swap interval), the interval set, the ticks last asked for,
    // and a frame owed to a paint or resize.
    bool swapWaits_ = false;
    int swapTicks_ = 1;
    int scheduledTicks_ = 1;
    bool redrawOwed_ = false;
    // The first frame's time: the music starts at a frame 3 s after it.
    double firstFrameTime_ = -1;

    // Once per process, 3 seconds into the run, in the saver window; never
    // in the preview.
    void StartMusic(WindowHandle window);
};

}  // namespace velmora
