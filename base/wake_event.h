// An event one thread signals to wake another that waits for it (auto-reset:
// one wait takes one signal). On Windows its handle joins a message wait.
#pragma once

#include <memory>

namespace velmora {

class WakeEvent {
public:
    WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;
    ~WakeEvent();

    void Signal();
    // True when signalled within the given milliseconds.
    bool Wait(unsigned milliseconds);
    // The Win32 event handle; null elsewhere.
    void* NativeHandle() const;
    // A descriptor that polls readable while the event is signalled (POSIX);
    // -1 elsewhere. Only Wait resets the event.
    int ReadableDescriptor() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
