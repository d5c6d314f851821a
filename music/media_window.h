// The system's multimedia window, which plays one song and reports to its
// parent window: the seam between the music player and the platform.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::music {

// HWND, opaque here.
using WindowHandle = void*;

// Messages the player sends to the window and the notifications it answers.
inline constexpr unsigned kPlayMessage = 0x0806;         // MCI_PLAY
inline constexpr unsigned kSeekMessage = 0x0807;         // MCI_SEEK
inline constexpr unsigned kStopMessage = 0x0808;         // MCI_STOP
inline constexpr unsigned kCloseMessage = 0x0010;        // WM_CLOSE
inline constexpr std::intptr_t kSeekToStart = -1;        // MCIWND_START
inline constexpr unsigned kNotifyModeMessage = 0x04C8;   // MCIWNDM_NOTIFYMODE
inline constexpr unsigned kNotifyErrorMessage = 0x04CD;  // MCIWNDM_NOTIFYERROR
inline constexpr std::intptr_t kModeStop = 525;          // MCI_MODE_STOP
// The player's own message to the parent window: move on from the song
// window in wParam, now that its notification has returned.
inline constexpr unsigned kAdvanceMessage = 0x8000 + 0x4C8;  // WM_APP + 0x4C8

class MediaWindow {
public:
    MediaWindow() = default;
    MediaWindow(const MediaWindow&) = delete;
    MediaWindow& operator=(const MediaWindow&) = delete;
    virtual ~MediaWindow() = default;

    // An invisible child of parent with the song at path opened, showing no
    // error boxes and reporting mode changes and errors to parent (the
    // window handle in wParam). Null, with the system's error code in error,
    // when it cannot be created.
    virtual WindowHandle Create(WindowHandle parent, const std::string& path,
                                std::uint32_t& error) = 0;
    // Sends the message (wParam 0) and returns its result; for the MCI
    // messages 0 or an MCI error code.
    virtual std::intptr_t Send(WindowHandle window, unsigned message, std::intptr_t lParam) = 0;
    // Queues the message (lParam 0) for window, to arrive once the current
    // one has been handled; false when it cannot be queued.
    virtual bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam) = 0;
};

// The multimedia window of the system; where there is none, Create fails.
MediaWindow& SystemMediaWindow();

}  // namespace velmora::music
