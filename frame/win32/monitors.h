// The monitors as the system reports them.
#pragma once

#include "frame/monitor_layout.h"

namespace velmora {

MonitorSnapshot ReadMonitors();

}  // namespace velmora
