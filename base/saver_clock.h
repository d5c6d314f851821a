// The saver clock: milliseconds from the performance counter, or from the
// tick count on a system without one.
#pragma once

#include <cstdint>

namespace velmora {

// Anything that tells the time in milliseconds; tests substitute their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double NowMilliseconds() = 0;
};

class SaverClock final : public Clock {
public:
    SaverClock();
    double NowMilliseconds() override;

    bool UsesPerformanceCounter() const { return usesPerformanceCounter_; }

    // count × 1000 ÷ frequency without losing the low digits of a large count.
    static double CounterToMilliseconds(std::uint64_t count, std::uint64_t frequency);

private:
    bool usesPerformanceCounter_;
};

}  // namespace velmora
