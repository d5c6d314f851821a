// A multimedia window in memory: it records what the music player sends and
// fails for the songs a test names. Windows are numbered 1, 2, ... in the
// order they are created.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "music/media_window.h"

namespace velmora::testing {

class RecordingMediaWindow final : public music::MediaWindow {
public:
    // The error code of a failing play.
    static constexpr std::intptr_t kPlayError = 263;

    music::WindowHandle Create(music::WindowHandle parent, const std::string& path,
                               std::uint32_t& error) override;
    std::intptr_t Send(music::WindowHandle window, unsigned message, std::intptr_t lParam) override;
    bool Post(music::WindowHandle window, unsigned message, std::uintptr_t wParam) override;

    static music::WindowHandle Handle(int number);

    // "create <path>", "seek <n>", "play <n>", "stop <n>", "close <n>".
    std::vector<std::string> calls;
    // The path of every play that succeeded, in order.
    std::vector<std::string> played;
    std::set<std::string> failingCreates;
    std::set<std::string> failingPlays;
    // Runs while a message is being sent, with the window it goes to.
    std::function<void(unsigned message, music::WindowHandle)> whileSending;
    // What was posted and not yet taken by the test, oldest first.
    struct Posted {
        music::WindowHandle window;
        unsigned message;
        std::uintptr_t wParam;
    };
    std::vector<Posted> posted;
    // The window whose notification the test is delivering; closing it then
    // is counted, as the system's window would go on using its freed data.
    music::WindowHandle notifying = nullptr;
    int closedWhileNotifying = 0;
    // Windows created and not yet closed.
    int openWindows = 0;
    music::WindowHandle lastParent = nullptr;

private:
    std::map<music::WindowHandle, std::string> paths_;
    int created_ = 0;
};

}  // namespace velmora::testing
