#include <windows.h>

#include "base/thread.h"

namespace velmora {

struct Thread::Impl {
    HANDLE handle = nullptr;
    std::function<void()> body;
};

namespace {

DWORD WINAPI RunThread(LPVOID parameter) {
    auto* impl = static_cast<Thread::Impl*>(parameter);
    impl->body();
    return 0;
}

int NativePriority(ThreadPriority priority) {
    switch (priority) {
        case ThreadPriority::Lowest:
            return THREAD_PRIORITY_LOWEST;
        case ThreadPriority::BelowNormal:
            return THREAD_PRIORITY_BELOW_NORMAL;
        case ThreadPriority::Normal:
            return THREAD_PRIORITY_NORMAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

}  // namespace

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
    Join();
}

bool Thread::Start(std::function<void()> body, ThreadPriority priority) {
    if (impl_->handle != nullptr) {
        return false;
    }
    impl_->body = std::move(body);
    impl_->handle = CreateThread(nullptr, 0, RunThread, impl_.get(), CREATE_SUSPENDED, nullptr);
    if (impl_->handle == nullptr) {
        return false;
    }
    SetThreadPriority(impl_->handle, NativePriority(priority));
    ResumeThread(impl_->handle);
    return true;
}

void Thread::SetPriority(ThreadPriority priority) {
    if (impl_->handle != nullptr) {
        SetThreadPriority(impl_->handle, NativePriority(priority));
    }
}

bool Thread::WaitForEnd(unsigned milliseconds) {
    return impl_->handle == nullptr ||
           WaitForSingleObject(impl_->handle, milliseconds) == WAIT_OBJECT_0;
}

void Thread::Join() {
    if (impl_->handle != nullptr) {
        WaitForSingleObject(impl_->handle, INFINITE);
        CloseHandle(impl_->handle);
        impl_->handle = nullptr;
    }
}

bool Thread::Started() const {
    return impl_->handle != nullptr;
}

}  // namespace velmora
