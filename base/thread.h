// A thread of the program's own, with the priority the system can give it.
#pragma once

#include <functional>
#include <memory>

namespace velmora {

enum class ThreadPriority {
    Lowest,
    BelowNormal,
    Normal,
};

class Thread {
public:
    Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Waits for a thread that is still running: nothing is left behind.
    ~Thread();

    bool Start(std::function<void()> body, ThreadPriority priority);
    void SetPriority(ThreadPriority priority);
    // True once the thread has ended (or was never started); waits at most
    // the given milliseconds.
    bool WaitForEnd(unsigned milliseconds);
    void Join();
    bool Started() const;

    struct Impl;  // the platform's own handle and state

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace velmora
