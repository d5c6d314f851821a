// What a saver run has changed on the user's desktop and not yet given back.
// It lives for the whole process so that the crash filter can give the
// desktop back when a run ends in a fault: the run updates it on the main
// thread, the filter reads it on whichever thread faulted.
#pragma once

#include <atomic>

namespace velmora::diag {

struct DesktopChanges {
    std::atomic<bool> saverRunningFlagSet{false};  // SPI_SETSCREENSAVERRUNNING on
    std::atomic<bool> displayModeSwitched{false};
};

DesktopChanges& RunDesktopChanges();

}  // namespace velmora::diag
