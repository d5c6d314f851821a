#include "base/random.h"

#include <mutex>

#include "base/platform.h"

namespace velmora {

int RandomGenerator::Next() {
    std::uint32_t current = state_.load(std::memory_order_relaxed);
    std::uint32_t next = 0;
    do {
        next = current * 214013u + 2531011u;
    } while (!state_.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

RandomGenerator& ProcessRandom() {
    static RandomGenerator generator;
    return generator;
}

void SeedProcessRandomOnce() {
    static std::once_flag seeded;
    std::call_once(seeded, [] { ProcessRandom().Seed(platform::MultimediaTimeMilliseconds()); });
}

}  // namespace velmora
