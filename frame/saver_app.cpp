#include "frame/saver_app.h"

#include <cstdio>

#include "frame/frame_texts.h"
#include "settings/program_version.h"
#include "settings/settings_storage.h"

namespace velmora {

SaverApp::SaverApp(const SaverAppServices& services) : updateChecker(services.updateCheck) {}

void SaverApp::TransferSettings(WindowHandle, bool, registry::RegistryKey*, int, int) {}

SaverApp::~SaverApp() {
    updateChecker.CleanUp();
}

Status SaverApp::Start(WindowHandle, DeviceContextHandle) {
    return S_OK;
}

Status SaverApp::Frame(WindowHandle, DeviceContextHandle) {
    return S_OK;
}

FrameSchedule SaverApp::NextFrame(double nowMilliseconds) {
    FrameSchedule schedule;
    schedule.dueMilliseconds = nowMilliseconds;
    schedule.moving = true;
    return schedule;
}

Status SaverApp::Paint(WindowHandle, DeviceContextHandle) {
    return S_OK;
}

Status SaverApp::Finish(WindowHandle, DeviceContextHandle) {
    return S_OK;
}

void SaverApp::SetDefaults(WindowHandle, int) {}

MessageResult SaverApp::BeforePageMessage(WindowHandle, unsigned, MessageParam, MessageLParam) {
    return 0;
}

MessageResult SaverApp::AfterPageMessage(WindowHandle, unsigned, MessageParam, MessageLParam) {
    return 0;
}

void SaverApp::ResizeViewport(WindowHandle) {}

void SaverApp::BeforeWindow() {}

int SaverApp::MessageHook(WindowHandle, unsigned, MessageParam, MessageLParam) {
    return 0;
}

void SaverApp::OnDisplayPowerDown() {}

std::string SaverApp::VersionText() {
    const std::string format = DecodeText(texts::kVersionFormat);
    char text[64] = {};
    std::snprintf(text, sizeof text, format.c_str(), static_cast<double>(settings::ProgramVersion));
    return text;
}

bool SaverApp::LoadSettings(registry::RegistryStore& store, WindowHandle window) {
    return LoadSettings(store, window, settings::SettingsKeyPath());
}

bool SaverApp::LoadSettings(registry::RegistryStore& store, WindowHandle window,
                            const std::string& keyPath) {
    settingsKeyPath = keyPath;
    return settings::LoadSettings(store, keyPath, saverSettings,
                                  [&](registry::RegistryKey& key, int group, int firstIndex) {
                                      TransferSettings(window, false, &key, group, firstIndex);
                                  });
}

bool SaverApp::SaveSettings(registry::RegistryStore& store, WindowHandle window) {
    return SaveSettings(store, window, settings::SettingsKeyPath());
}

bool SaverApp::SaveSettings(registry::RegistryStore& store, WindowHandle window,
                            const std::string& keyPath) {
    return settings::SaveSettings(store, keyPath, saverSettings,
                                  [&](registry::RegistryKey& key, int group, int firstIndex) {
                                      TransferSettings(window, true, &key, group, firstIndex);
                                  });
}

}  // namespace velmora
