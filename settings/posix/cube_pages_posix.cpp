#include "settings/cube_pages.h"

namespace velmora::settings {

// There is no settings dialog here: no page ever sees a message.

std::intptr_t CubePagesBefore(CubePagesContext&, void*, unsigned, std::uintptr_t, std::intptr_t) {
    return 0;
}

std::intptr_t CubePagesAfter(CubePagesContext&, void*, unsigned, std::uintptr_t, std::intptr_t) {
    return 0;
}

}  // namespace velmora::settings
