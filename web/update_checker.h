// The automatic update check that a full-screen run arms. For now it only has
// its place in the application object and its clean-up; the download slots,
// the timer handling and the document reader come with the update check.
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

    // A full-screen run arms the check right after showing its window; the
    // request, its timer and this message handling come with the update
    // check itself. Until then both do nothing.
    void Arm(void* /*window*/, bool /*downloadAllowed*/) {}
    void HandleMessage(void* /*window*/, unsigned /*message*/, std::uintptr_t /*wParam*/,
                       std::intptr_t /*lParam*/) {}
};

}  // namespace velmora
