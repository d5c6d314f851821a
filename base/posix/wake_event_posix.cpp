#include <chrono>
#include <condition_variable>
#include <mutex>

#include "base/wake_event.h"

namespace velmora {

struct WakeEvent::Impl {
    std::mutex mutex;
    std::condition_variable changed;
    bool signalled = false;
};

WakeEvent::WakeEvent() : impl_(std::make_unique<Impl>()) {}

WakeEvent::~WakeEvent() = default;

void WakeEvent::Signal() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->signalled = true;
    }
    impl_->changed.notify_one();
}

bool WakeEvent::Wait(unsigned milliseconds) {
    std::unique_lock lock(impl_->mutex);
    const bool signalled = impl_->changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                                   [this] { return impl_->signalled; });
    impl_->signalled = false;
    return signalled;
}

void* WakeEvent::NativeHandle() const {
    return nullptr;
}

}  // namespace velmora
