#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "base/wake_event.h"

namespace velmora {

// An eventfd, so a host's poll() can wait for it beside its other descriptors.
struct WakeEvent::Impl {
    int descriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
};

WakeEvent::WakeEvent() : impl_(std::make_unique<Impl>()) {}

WakeEvent::~WakeEvent() {
    if (impl_->descriptor >= 0) {
        close(impl_->descriptor);
    }
}

void WakeEvent::Signal() {
    const std::uint64_t one = 1;
    if (impl_->descriptor >= 0) {
        [[maybe_unused]] const ssize_t written = write(impl_->descriptor, &one, sizeof one);
    }
}

bool WakeEvent::Wait(unsigned milliseconds) {
    if (impl_->descriptor < 0) {
        return false;
    }
    pollfd ready{impl_->descriptor, POLLIN, 0};
    const int timeout = milliseconds > 0x7FFFFFFFu ? -1 : static_cast<int>(milliseconds);
    if (poll(&ready, 1, timeout) <= 0) {
        return false;
    }
    // Reading takes every signal given so far: the event resets.
    std::uint64_t count = 0;
    return read(impl_->descriptor, &count, sizeof count) == static_cast<ssize_t>(sizeof count);
}

void* WakeEvent::NativeHandle() const {
    return nullptr;
}

int WakeEvent::ReadableDescriptor() const {
    return impl_->descriptor;
}

}  // namespace velmora
