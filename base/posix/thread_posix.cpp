#include <chrono>
#include <future>
#include <system_error>
#include <thread>

#include "base/thread.h"

namespace velmora {

// Priorities are a Windows matter; here every thread runs at the normal one.
struct Thread::Impl {
    std::thread thread;
    std::promise<void> ended;
    std::shared_future<void> endedFuture;
};

Thread::Thread() : impl_(std::make_unique<Impl>()) {}

Thread::~Thread() {
    Join();
}

bool Thread::Start(std::function<void()> body, ThreadPriority) {
    if (impl_->thread.joinable()) {
        return false;
    }
    impl_->ended = std::promise<void>();
    impl_->endedFuture = impl_->ended.get_future().share();
    try {
        impl_->thread = std::thread([this, body = std::move(body)] {
            body();
            impl_->ended.set_value();
        });
    } catch (const std::system_error&) {
        return false;  // the system has no thread to give
    }
    return true;
}

void Thread::SetPriority(ThreadPriority) {}

bool Thread::WaitForEnd(unsigned milliseconds) {
    if (!impl_->thread.joinable()) {
        return true;
    }
    return impl_->endedFuture.wait_for(std::chrono::milliseconds(milliseconds)) ==
           std::future_status::ready;
}

void Thread::Join() {
    if (impl_->thread.joinable()) {
        impl_->thread.join();
    }
}

bool Thread::Started() const {
    return impl_->thread.joinable();
}

}  // namespace velmora
