// The automatic update check's place in the application object: a full-screen
// run arms it and passes it every window message. It starts no request.
#pragma once

#include <cstdint>

namespace velmora {

class UpdateChecker {
public:
    UpdateChecker() = default;
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;
    ~UpdateChecker() { CleanUp(); }

    // Stops whatever the checker still has running; safe to call twice.
    void CleanUp() {}

    // Called right after a full-screen run shows its window, and for every
    // message of that window; neither does anything.
    void Arm(void* /*window*/, bool /*downloadAllowed*/) {}
    void HandleMessage(void* /*window*/, unsigned /*message*/, std::uintptr_t /*wParam*/,
                       std::intptr_t /*lParam*/) {}
};

}  // namespace velmora
