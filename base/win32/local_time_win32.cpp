#include <windows.h>

#include "base/local_time.h"

namespace velmora::platform {

bool ReadLocalTimeTexts(LocalTimeTexts& texts) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[256];
    char time[256];
    if (GetDateFormatA(0, 0, &now, nullptr, date, sizeof date) == 0 ||
        GetTimeFormatA(0, 0, &now, nullptr, time, sizeof time) == 0) {
        return false;
    }
    texts.date = date;
    texts.time = time;
    texts.minute = now.wMinute;
    return true;
}

}  // namespace velmora::platform
