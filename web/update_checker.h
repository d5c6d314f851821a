// The automatic update check that a full-screen run arms. For now it only has
// its place in the application object and its clean-up; the download slots,
// the timer handling and the document reader come with the update check.
#pragma once

namespace velmora {

class UpdateChecker {
public:
    UpdateChecker() = default;
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;
    ~UpdateChecker() { CleanUp(); }

    // Stops whatever the checker still has running; safe to call twice.
    void CleanUp() {}
};

}  // namespace velmora
