// Random numbers as the C runtime's rand() gives them on Windows (0 to 32767),
// seeded once per run from the multimedia timer. The generator is kept here
// rather than in the C library so that every thread draws from one sequence
// and native tests see the same numbers as the Windows build.
#pragma once

#include <atomic>
#include <cstdint>

namespace velmora {

class RandomGenerator {
public:
    static constexpr int kMaximum = 32767;

    explicit RandomGenerator(std::uint32_t seed = 1) : state_(seed) {}

    void Seed(std::uint32_t seed) { state_.store(seed, std::memory_order_relaxed); }

    // Next value in 0..32767.
    int Next();

    // Uniform value in [0, 1]: Next() ÷ 32767.
    double Unit() { return static_cast<double>(Next()) / kMaximum; }

private:
    std::atomic<std::uint32_t> state_;
};

// The process's generator.
RandomGenerator& ProcessRandom();

// Seeds the process's generator from the multimedia timer; later calls do
// nothing, so a run is seeded exactly once.
void SeedProcessRandomOnce();

}  // namespace velmora
