// A picture read that blocks until the test opens the gate, as a read from a
// network folder that stopped answering does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "base/status.h"
#include "engine/texture.h"

namespace velmora::testing {

class ReadGate {
public:
    // The loader's picture load: waits for the gate, then writes into the
    // texture, so a texture freed meanwhile is caught.
    HRESULT Read(engine::Texture* texture) {
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        texture->SetName("read through the gate");
        finished_ = true;
        return S_OK;
    }

    // True once a read waits at the gate (or has passed it).
    bool WaitUntilEntered(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return entered_; });
    }

    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

    bool Finished() {
        std::lock_guard lock(mutex_);
        return finished_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
    bool finished_ = false;
};

}  // namespace velmora::testing
