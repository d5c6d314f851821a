// When the music of a run starts: once, at the first frame step more than
// three seconds after the first one.
#pragma once

namespace velmora::music {

inline constexpr double kStartDelayMs = 3000.0;

class StartRule {
public:
    // Called at every frame step with the saver clock in milliseconds; true
    // at exactly one step, the first one more than kStartDelayMs after the
    // first call.
    bool Due(double now);

    bool Started() const { return started_; }

private:
    bool haveFirstFrame_ = false;
    double firstFrameTime_ = 0;
    bool started_ = false;
};

}  // namespace velmora::music
