#include "music/start_rule.h"

namespace velmora::music {

bool StartRule::Due(double now) {
    if (!haveFirstFrame_) {
        haveFirstFrame_ = true;
        firstFrameTime_ = now;
    }
    if (started_ || now - firstFrameTime_ <= kStartDelayMs) {
        return false;
    }
    started_ = true;
    return true;
}

}  // namespace velmora::music
