#include <windows.h>

#include "base/wake_event.h"

namespace velmora {

struct WakeEvent::Impl {
    HANDLE handle = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

WakeEvent::WakeEvent() : impl_(std::make_unique<Impl>()) {}

WakeEvent::~WakeEvent() {
    if (impl_->handle != nullptr) {
        CloseHandle(impl_->handle);
    }
}

void WakeEvent::Signal() {
    if (impl_->handle != nullptr) {
        SetEvent(impl_->handle);
    }
}

bool WakeEvent::Wait(unsigned milliseconds) {
    return impl_->handle != nullptr &&
           WaitForSingleObject(impl_->handle, milliseconds) == WAIT_OBJECT_0;
}

void* WakeEvent::NativeHandle() const {
    return impl_->handle;
}

int WakeEvent::ReadableDescriptor() const {
    return -1;
}

}  // namespace velmora
