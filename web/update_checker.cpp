#include "web/update_checker.h"

#include <cstdio>
#include <cstring>

#include "base/platform.h"
#include "base/random.h"
#include "registry/registry_key.h"
#include "settings/program_version.h"
#include "settings/settings_storage.h"
#include "web/update_document.h"
#include "web/web_texts.h"

namespace velmora {

namespace {

using web::DownloadProgress;
using web::DownloadSlot;
using web::DownloadState;

constexpr int kWorkerWaits = 1000;

struct AutodialValue {
    registry::RegistryType type = registry::RegistryType::None;
    std::uint32_t size = 0;
    std::uint8_t bytes[4] = {};

    bool IsOn() const { return size > 0 && bytes[0] == 1 && IsZeroFrom(1); }
    bool IsOff() const { return IsZeroFrom(0); }
    bool IsZeroFrom(std::uint32_t first) const {
        for (std::uint32_t i = first; i < size; ++i) {
            if (bytes[i] != 0) {
                return false;
            }
        }
        return true;
    }
};

bool OpenInternetSettings(registry::RegistryStore* store, registry::RegistryKey& key,
                          registry::RegistryAccess access) {
    return store != nullptr && key.Open(*store, registry::RegistryRoot::CurrentUser,
                                        DecodeText(texts::kInternetSettingsKey),
                                        access) == registry::registry_error::Success;
}

bool ReadAutodial(const registry::RegistryKey& key, AutodialValue& value) {
    value.size = sizeof value.bytes;
    return key.QueryValue(DecodeText(texts::kEnableAutodial).c_str(), &value.type, value.bytes,
                          &value.size) == registry::registry_error::Success;
}

void WriteAutodial(const registry::RegistryKey& key, AutodialValue value, bool on) {
    std::memset(value.bytes, 0, sizeof value.bytes);
    value.bytes[0] = on ? 1 : 0;
    key.SetValue(DecodeText(texts::kEnableAutodial).c_str(), value.type, value.bytes, value.size);
}

// Waits, at most about a second, for a worker to mark its end.
void WaitForWorker(const DownloadSlot& slot) {
    for (int i = 0; i < kWorkerWaits && slot.workerRunning.load(); ++i) {
        platform::SleepMilliseconds(1);
    }
}

// Closes the slot's request once, whoever comes first.
void CloseRequest(DownloadSlot& slot) {
    if (web::InternetHandle request = slot.request.exchange(nullptr)) {
        slot.api.closeHandle(request);
    }
}

std::string AgentName() {
    const std::string format = DecodeText(texts::kUpdateAgentFormat);
    char agent[256] = {};
    std::snprintf(agent, sizeof agent, format.c_str(), 3, static_cast<double>(1.1f));
    return agent;
}

void Report(DownloadSlot& slot, DownloadProgress code) {
    slot.api.postMessage(slot.notifyWindow, slot.notifyMessage, static_cast<MessageParam>(code),
                         reinterpret_cast<MessageLParam>(&slot));
}

void EndWorker(DownloadSlot& slot, DownloadState state, DownloadProgress code) {
    slot.state = state;
    slot.workerRunning = false;
    Report(slot, code);
}

void WorkerThread(void* argument) {
    std::unique_ptr<std::shared_ptr<DownloadSlot>> share(
        static_cast<std::shared_ptr<DownloadSlot>*>(argument));
    web::RunDownload(**share);
}

}  // namespace

namespace web {

void RunDownload(DownloadSlot& slot) {
    slot.state = DownloadState::Connecting;
    const InternetHandle request = slot.api.openUrl(slot.session, slot.url, slot.openFlags);
    if (request == nullptr) {
        EndWorker(slot, DownloadState::Failed, DownloadProgress::OpenFailed);
        return;
    }
    slot.request = request;
    std::uint32_t length = 0;
    std::optional<std::uint32_t> contentLength;
    if (slot.api.queryContentLength(request, &length)) {
        contentLength = length;
    }
    if (!slot.data.Allocate(contentLength)) {
        CloseRequest(slot);
        EndWorker(slot, DownloadState::Failed, DownloadProgress::NoMemory);
        return;
    }
    Report(slot, DownloadProgress::Receiving);
    slot.state = DownloadState::Receiving;
    for (;;) {
        char piece[kDownloadStep];
        std::uint32_t read = 0;
        if (!slot.api.readFile(request, piece, sizeof piece, &read) ||
            !slot.data.Append(piece, read)) {
            CloseRequest(slot);
            EndWorker(slot, DownloadState::Failed, DownloadProgress::ReadFailed);
            return;
        }
        Report(slot, DownloadProgress::Piece);
        if (read == 0) {
            break;
        }
    }
    CloseRequest(slot);
    EndWorker(slot, DownloadState::Complete, DownloadProgress::Complete);
}

}  // namespace web

UpdateChecker::UpdateChecker(const web::UpdateCheckApi& api) : api_(api) {
    registry::RegistryKey key;
    AutodialValue value;
    if (OpenInternetSettings(api_.registry(), key, registry::registry_access::QueryValue) &&
        ReadAutodial(key, value)) {
        savedAutodial_ = value.IsOn();
    }
}

void UpdateChecker::CleanUp() {
    if (window_ != nullptr) {
        api_.killTimer(window_, web::kUpdateTimerId);
    }
    CloseAllSlots();
    PutAutodialBack();
    CloseSession();
    window_ = nullptr;
}

void UpdateChecker::Arm(WindowHandle window, bool downloadsAllowed,
                        const std::string& settingsKeyPath) {
    if (!downloadsAllowed || window == nullptr || api_.registry() == nullptr) {
        return;
    }
    settingsKeyPath_ = settingsKeyPath.empty() ? settings::SettingsKeyPath() : settingsKeyPath;
    std::int32_t done = 0;
    if (settings::TransferSingleValue(settings::Direction::Read, *api_.registry(),
                                      registry::RegistryRoot::CurrentUser, settingsKeyPath_,
                                      settings::kSaverGroup, settings::saver_index::UpdateCheckDone,
                                      settings::IntegerTarget(done)) != 0) {
        return;
    }
    if (!api_.isConnected()) {
        return;
    }
    window_ = window;
    SetTimer(api_.periods.firstBase);
}

void UpdateChecker::SetTimer(std::uint32_t base) {
    const std::uint32_t spread = api_.periods.spread;
    const std::uint32_t random = static_cast<std::uint32_t>(ProcessRandom().Next());
    api_.setTimer(window_, web::kUpdateTimerId, base + (spread > 0 ? random % spread : 0));
}

MessageResult UpdateChecker::HandleMessage(WindowHandle window, unsigned message,
                                           MessageParam wParam, MessageLParam lParam) {
    if (window_ == nullptr || window != window_) {
        return 0;
    }
    if (message == web::kTimerMessage && wParam == web::kUpdateTimerId) {
        api_.killTimer(window_, web::kUpdateTimerId);
        OnTimer();
    } else if (message == web::kProgressMessage) {
        OnProgress(static_cast<web::DownloadProgress>(wParam), lParam);
    }
    return 0;
}

void UpdateChecker::OnTimer() {
    SwitchAutodialOff();
    const std::string agent = AgentName();
    CloseAllSlots();
    CloseSession();
    session_ = api_.openSession(agent.c_str());
    const std::string url = DecodeText(texts::kUpdateAddress);
    if (session_ != nullptr) {
        StartDownload(url);
    }
}

bool UpdateChecker::StartDownload(const std::string& url) {
    for (int i = 0; i < web::kDownloadSlotCount; ++i) {
        SlotPointer& slot = slots_[i];
        if (slot && slot->state != DownloadState::Free) {
            continue;
        }
        slot = std::make_shared<DownloadSlot>();
        slot->index = i;
        slot->session = session_;
        slot->state = DownloadState::Allocated;
        slot->notifyWindow = window_;
        slot->notifyMessage = web::kProgressMessage;
        slot->openFlags = web::kUpdateOpenFlags;
        slot->api = api_;
        std::snprintf(slot->url, sizeof slot->url, "%s", url.c_str());
        slot->workerRunning = true;
        auto* share = new SlotPointer(slot);
        if (!api_.startThread(WorkerThread, share)) {
            delete share;
            slot.reset();
            return false;
        }
        return true;
    }
    return false;
}

void UpdateChecker::OnProgress(web::DownloadProgress code, MessageLParam lParam) {
    SlotPointer* found = nullptr;
    for (SlotPointer& slot : slots_) {
        if (slot && reinterpret_cast<MessageLParam>(slot.get()) == lParam) {
            found = &slot;
        }
    }
    switch (code) {
        case DownloadProgress::OpenFailed:
            if (attemptsLeft_-- > 1) {
                SetTimer(api_.periods.retryBase);
            }
            [[fallthrough]];
        case DownloadProgress::NoMemory:
        case DownloadProgress::ReadFailed:
            if (session_ != nullptr && found != nullptr) {
                FreeSlot(*found);
            }
            CloseAllSlots();
            CloseSession();
            PutAutodialBack();
            break;
        case DownloadProgress::Complete:
            if (found != nullptr) {
                OnComplete(**found);
                FreeSlot(*found);
            }
            break;
        case DownloadProgress::Receiving:
        case DownloadProgress::Piece:
            break;
    }
}

void UpdateChecker::OnComplete(DownloadSlot& slot) {
    if (slot.state != DownloadState::Complete) {
        return;
    }
    const web::UpdateDocumentResult result = web::CheckUpdateDocument(slot.url, slot.data.Text());
    if (result.outcome != web::UpdateDocumentOutcome::Accepted) {
        return;
    }
    char version[settings::kVersionTextSize] = {};
    std::snprintf(version, sizeof version, "%s", result.version.c_str());
    std::int32_t done = 1;
    registry::RegistryStore& store = *api_.registry();
    settings::TransferSingleValue(
        settings::Direction::Write, store, registry::RegistryRoot::CurrentUser, settingsKeyPath_,
        settings::kSaverGroup, settings::saver_index::LatestVersion, settings::TextTarget(version));
    settings::TransferSingleValue(settings::Direction::Write, store,
                                  registry::RegistryRoot::CurrentUser, settingsKeyPath_,
                                  settings::kSaverGroup, settings::saver_index::UpdateCheckDone,
                                  settings::IntegerTarget(done));
}

void UpdateChecker::FreeSlot(SlotPointer& slot) {
    CloseRequest(*slot);
    WaitForWorker(*slot);
    // A worker still running keeps its share; it ends on the closed request.
    slot.reset();
}

void UpdateChecker::CloseAllSlots() {
    for (SlotPointer& slot : slots_) {
        if (slot) {
            FreeSlot(slot);
        }
    }
    CloseSession();
}

void UpdateChecker::CloseSession() {
    if (session_ != nullptr) {
        api_.closeHandle(session_);
        session_ = nullptr;
    }
}

void UpdateChecker::SwitchAutodialOff() {
    autodialSwitched_ = true;
    registry::RegistryKey key;
    AutodialValue value;
    if (OpenInternetSettings(
            api_.registry(), key,
            registry::registry_access::QueryValue | registry::registry_access::SetValue) &&
        ReadAutodial(key, value) && !value.IsOff()) {
        WriteAutodial(key, value, false);
    }
}

void UpdateChecker::PutAutodialBack() {
    // Only what this checker changed is put back: a change the user makes
    // meanwhile stays.
    if (!autodialSwitched_) {
        return;
    }
    autodialSwitched_ = false;
    registry::RegistryKey key;
    AutodialValue value;
    if (!OpenInternetSettings(
            api_.registry(), key,
            registry::registry_access::QueryValue | registry::registry_access::SetValue) ||
        !ReadAutodial(key, value)) {
        return;
    }
    const bool matches = savedAutodial_ ? value.IsOn() : value.IsOff();
    if (!matches) {
        WriteAutodial(key, value, savedAutodial_);
    }
}

}  // namespace velmora
