// The local date and time as the user's locale writes them (short forms).
#pragma once

#include <string>

namespace velmora::platform {

struct LocalTimeTexts {
    std::string date;
    std::string time;
    int minute = 0;
};

// False when the system cannot format either text.
bool ReadLocalTimeTexts(LocalTimeTexts& texts);

}  // namespace velmora::platform
