// The media window that records the player's calls (recording_media_window.h).
#include "tests/support/recording_media_window.h"

namespace velmora::testing {

namespace {

std::string Number(music::WindowHandle window) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

}  // namespace

music::WindowHandle RecordingMediaWindow::Handle(int number) {
    return reinterpret_cast<music::WindowHandle>(static_cast<std::uintptr_t>(number));
}

music::WindowHandle RecordingMediaWindow::Create(music::WindowHandle parent,
                                                 const std::string& path, std::uint32_t& error) {
    calls.push_back("create " + path);
    lastParent = parent;
    if (failingCreates.count(path) != 0) {
        error = 2;  // ERROR_FILE_NOT_FOUND
        return nullptr;
    }
    music::WindowHandle window = Handle(++created_);
    paths_[window] = path;
    ++openWindows;
    return window;
}

std::intptr_t RecordingMediaWindow::Send(music::WindowHandle window, unsigned message,
                                         std::intptr_t) {
    if (whileSending) {
        whileSending(message, window);
    }
    switch (message) {
        case music::kPlayMessage: {
            calls.push_back("play " + Number(window));
            if (failingPlays.count(paths_[window]) != 0) {
                return kPlayError;
            }
            played.push_back(paths_[window]);
            return 0;
        }
        case music::kSeekMessage:
            calls.push_back("seek " + Number(window));
            return 0;
        case music::kStopMessage:
            calls.push_back("stop " + Number(window));
            return 0;
        case music::kCloseMessage:
            calls.push_back("close " + Number(window));
            closedWhileNotifying += window == notifying ? 1 : 0;
            openWindows -= static_cast<int>(paths_.erase(window));
            return 0;
        default:
            return 0;
    }
}

bool RecordingMediaWindow::Post(music::WindowHandle window, unsigned message,
                                std::uintptr_t wParam) {
    posted.push_back({window, message, wParam});
    return true;
}

}  // namespace velmora::testing
