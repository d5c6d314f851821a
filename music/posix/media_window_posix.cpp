#include <cerrno>

#include "music/media_window.h"

namespace velmora::music {

namespace {

// There is no multimedia window here: no song can be played.
class NoWindow final : public MediaWindow {
public:
    WindowHandle Create(WindowHandle, const std::string&, std::uint32_t& error) override {
        error = ENOSYS;
        return nullptr;
    }

    std::intptr_t Send(WindowHandle, unsigned, std::intptr_t) override { return 0; }
    bool Post(WindowHandle, unsigned, std::uintptr_t) override { return false; }
};

}  // namespace

MediaWindow& SystemMediaWindow() {
    static NoWindow window;
    return window;
}

}  // namespace velmora::music
