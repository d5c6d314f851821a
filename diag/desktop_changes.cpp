#include "diag/desktop_changes.h"

namespace velmora::diag {

DesktopChanges& RunDesktopChanges() {
    static DesktopChanges changes;
    return changes;
}

}  // namespace velmora::diag
