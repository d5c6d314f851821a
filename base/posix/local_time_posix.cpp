#include <time.h>

#include "base/local_time.h"

namespace velmora::platform {

bool ReadLocalTimeTexts(LocalTimeTexts& texts) {
    const time_t now = ::time(nullptr);
    struct tm local {};
    if (localtime_r(&now, &local) == nullptr) {
        return false;
    }
    char date[256];
    char time[256];
    if (strftime(date, sizeof date, "%x", &local) == 0 ||
        strftime(time, sizeof time, "%X", &local) == 0) {
        return false;
    }
    texts.date = date;
    texts.time = time;
    texts.minute = local.tm_min;
    return true;
}

}  // namespace velmora::platform
