#include "base/saver_clock.h"

#include "base/platform.h"

namespace velmora {

SaverClock::SaverClock() {
    std::uint64_t count = 0;
    std::uint64_t frequency = 0;
    usesPerformanceCounter_ = platform::ReadPerformanceCounter(count, frequency) && frequency > 0;
}

double SaverClock::CounterToMilliseconds(std::uint64_t count, std::uint64_t frequency) {
    if (frequency == 0) {
        return 0.0;
    }
    const std::uint64_t whole = count / frequency;
    const std::uint64_t rest = count % frequency;
    return static_cast<double>(whole) * 1000.0 +
           static_cast<double>(rest) * 1000.0 / static_cast<double>(frequency);
}

double SaverClock::NowMilliseconds() {
    if (usesPerformanceCounter_) {
        std::uint64_t count = 0;
        std::uint64_t frequency = 0;
        if (platform::ReadPerformanceCounter(count, frequency)) {
            return CounterToMilliseconds(count, frequency);
        }
    }
    return static_cast<double>(platform::TickCountMilliseconds());
}

}  // namespace velmora
