// The automatic update check. A full-screen run arms it; a few minutes later
// its timer fetches the maker's update document on a worker thread, which
// reports by posted messages to the saver window. An accepted document's
// version text is stored in the settings with the marker that ends checking.
// While a check is under way the Internet settings' autodial is off.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/handles.h"
#include "web/download_buffer.h"
#include "web/update_check_api.h"

namespace velmora {

namespace web {

inline constexpr unsigned kTimerMessage = 0x0113;  // WM_TIMER
inline constexpr unsigned kProgressMessage = 0x051C;
inline constexpr std::uintptr_t kUpdateTimerId = 2978;
inline constexpr int kDownloadSlotCount = 16;
inline constexpr int kUpdateAttempts = 3;
// INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE
inline constexpr std::uint32_t kUpdateOpenFlags = 0x84000100;
inline constexpr std::size_t kUrlSize = 1024;

enum class DownloadState : int { Free, Allocated, Connecting, Receiving, Complete, Failed };

// Progress codes, the wParam of kProgressMessage; lParam is the slot.
enum class DownloadProgress : int {
    OpenFailed = 6,
    NoMemory = 7,
    ReadFailed = 8,
    Receiving = 10,
    Piece = 11,
    Complete = 12,
};

// One download. The worker holds a share of it, so a worker that outlives
// its slot's wait still writes only into its own block.
struct DownloadSlot {
    int index = 0;
    InternetHandle session = nullptr;
    std::atomic<InternetHandle> request{nullptr};
    DownloadBuffer data;
    char url[kUrlSize] = {};
    std::uint32_t openFlags = 0;
    std::atomic<DownloadState> state{DownloadState::Free};
    WindowHandle notifyWindow = nullptr;
    unsigned notifyMessage = 0;
    std::atomic<bool> workerRunning{false};
    UpdateCheckApi api{};
};

// The worker's body: opens, receives and reports; runs on its own thread.
void RunDownload(DownloadSlot& slot);

}  // namespace web

class UpdateChecker {
public:
    // Reads and keeps whether autodial is on; every system call goes through
    // the given table.
    explicit UpdateChecker(const web::UpdateCheckApi& api = web::SystemUpdateCheckApi());
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;
    ~UpdateChecker() { CleanUp(); }

    // Shuts down: the timer, every download and the session, and autodial put
    // back. Safe to call twice.
    void CleanUp();

    // Right after a full-screen run shows its window. Sets the timer only
    // when downloads are allowed (the user has not disabled the check), no
    // earlier check has stored its marker under the settings key (empty: the
    // program's own) and the machine is online.
    void Arm(WindowHandle window, bool downloadsAllowed, const std::string& settingsKeyPath = {});

    // Every message of the saver window; acts on the timer and the
    // progress messages. Always 0.
    MessageResult HandleMessage(WindowHandle window, unsigned message, MessageParam wParam,
                                MessageLParam lParam);

    bool Armed() const { return window_ != nullptr; }

private:
    using SlotPointer = std::shared_ptr<web::DownloadSlot>;

    void OnTimer();
    void OnProgress(web::DownloadProgress code, MessageLParam lParam);
    void OnComplete(web::DownloadSlot& slot);
    bool StartDownload(const std::string& url);
    void FreeSlot(SlotPointer& slot);
    void CloseAllSlots();
    void CloseSession();
    void SetTimer(std::uint32_t base);
    void SwitchAutodialOff();
    void PutAutodialBack();

    web::UpdateCheckApi api_;
    web::InternetHandle session_ = nullptr;
    std::array<SlotPointer, web::kDownloadSlotCount> slots_{};
    WindowHandle window_ = nullptr;
    std::string settingsKeyPath_;
    int attemptsLeft_ = web::kUpdateAttempts;
    bool savedAutodial_ = false;
    bool autodialSwitched_ = false;
};

}  // namespace velmora
