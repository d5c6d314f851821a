// The general screen-saver frame. The saver run drives it through the virtual
// operations below, declared in their fixed slot order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/handles.h"
#include "base/status.h"
#include "frame/frame_pacing.h"
#include "scene/scene_viewports.h"
#include "settings/page_table.h"
#include "settings/saver_settings.h"
#include "web/update_checker.h"

namespace velmora::registry {
class RegistryKey;
class RegistryStore;
}  // namespace velmora::registry

namespace velmora {

// What the application object calls outside itself: the system's unless the
// maker hands in others.
struct SaverAppServices {
    web::UpdateCheckApi updateCheck = web::SystemUpdateCheckApi();
};

class SaverApp {
public:
    explicit SaverApp(const SaverAppServices& services = {});
    SaverApp(const SaverApp&) = delete;
    SaverApp& operator=(const SaverApp&) = delete;

    // Moves the derived class's settings group to (write) or from the open key.
    virtual void TransferSettings(WindowHandle window, bool write, registry::RegistryKey* key,
                                  int group, int firstIndex);
    virtual ~SaverApp();
    virtual Status Start(WindowHandle window, DeviceContextHandle dc);
    // A negative status ends the run.
    virtual Status Frame(WindowHandle window, DeviceContextHandle dc);
    virtual Status Paint(WindowHandle window, DeviceContextHandle dc);
    virtual Status Finish(WindowHandle window, DeviceContextHandle dc);
    // page: 0 all, 1 the pictures page, 2 the cube-appearance page.
    virtual void SetDefaults(WindowHandle window, int page);
    virtual MessageResult BeforePageMessage(WindowHandle dialog, unsigned message,
                                            MessageParam wParam, MessageLParam lParam);
    virtual MessageResult AfterPageMessage(WindowHandle dialog, unsigned message,
                                           MessageParam wParam, MessageLParam lParam);
    virtual void ResizeViewport(WindowHandle window);
    // Called once per run, right after the run's start time is taken.
    virtual void BeforeWindow();
    // 1 when the message was consumed.
    virtual int MessageHook(WindowHandle window, unsigned message, MessageParam wParam,
                            MessageLParam lParam);
    virtual void OnDisplayPowerDown();
    virtual std::string VersionText();
    // After the slots above: when the loop draws the next frame, asked
    // whenever no message waits; now is the saver clock's reading. By
    // default at every refresh tick.
    virtual FrameSchedule NextFrame(double nowMilliseconds);

    // Reads both groups from the settings key (the program's own unless a
    // path is given), creating the key when it is missing; what cannot be
    // read keeps its current value. False when the key cannot be opened.
    bool LoadSettings(registry::RegistryStore& store, WindowHandle window);
    bool LoadSettings(registry::RegistryStore& store, WindowHandle window,
                      const std::string& keyPath);
    // Writes both groups; false, with nothing written, when the key cannot be
    // opened.
    bool SaveSettings(registry::RegistryStore& store, WindowHandle window);
    bool SaveSettings(registry::RegistryStore& store, WindowHandle window,
                      const std::string& keyPath);

    // The key the settings were last read from; the run's lists lie below it.
    std::string settingsKeyPath;

    // While set, frames are not drawn and the loop only waits for messages.
    std::uint8_t notStarted = 1;
    std::uint8_t reserved = 0;
    // Set just before the saver window is created; cleared by the first paint.
    std::uint8_t paused = 0;
    settings::SaverSettings saverSettings;
    UpdateChecker updateChecker;
    // The settings dialog's pages, and the paint context of the window it is
    // painting, for the page hooks.
    settings::PageTable pages;
    DeviceContextHandle paintContext = nullptr;
    // Set by a full-screen run whose window spans several monitors, before
    // Start; none when the scene fills the window.
    std::optional<scene::SceneViewports> monitorViewports;
};

}  // namespace velmora
