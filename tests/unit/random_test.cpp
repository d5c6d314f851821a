// The random generator: the C runtime sequence, reseeding, ranges and threads.
#include "base/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace velmora {
namespace {

TEST(Random, FollowsTheCRuntimeSequence) {
    // The first values of the Windows C runtime's rand() after srand(1).
    RandomGenerator generator(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) {
        EXPECT_EQ(generator.Next(), value);
    }
}

TEST(Random, ReseedingRestartsTheSequence) {
    RandomGenerator generator(12345);
    const int first = generator.Next();
    const int second = generator.Next();
    generator.Seed(12345);
    EXPECT_EQ(generator.Next(), first);
    EXPECT_EQ(generator.Next(), second);
}

TEST(Random, ValuesStayInRangeAndUnitIsClosedZeroToOne) {
    RandomGenerator generator(7);
    int lowest = RandomGenerator::kMaximum;
    int highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const int v = generator.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, RandomGenerator::kMaximum);
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RandomGenerator::kMaximum);
    for (int i = 0; i < 1000; ++i) {
        const double u = generator.Unit();
        ASSERT_GE(u, 0.0);
        ASSERT_LE(u, 1.0);
    }
}

TEST(Random, ThreadsShareOneSequenceWithoutLosingDraws) {
    constexpr int kPerThread = 50000;
    RandomGenerator reference(99);
    std::vector<int> expected;
    for (int i = 0; i < 2 * kPerThread; ++i) {
        expected.push_back(reference.Next());
    }

    RandomGenerator shared(99);
    std::vector<int> a;
    std::vector<int> b;
    std::thread first([&] {
        for (int i = 0; i < kPerThread; ++i)
            a.push_back(shared.Next());
    });
    std::thread second([&] {
        for (int i = 0; i < kPerThread; ++i)
            b.push_back(shared.Next());
    });
    first.join();
    second.join();

    std::vector<int> drawn = a;
    drawn.insert(drawn.end(), b.begin(), b.end());
    std::sort(drawn.begin(), drawn.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(drawn, expected);
}

TEST(Random, ProcessGeneratorIsSeededOnce) {
    SeedProcessRandomOnce();
    ProcessRandom().Seed(5);
    SeedProcessRandomOnce();  // must not reseed
    RandomGenerator reference(5);
    EXPECT_EQ(ProcessRandom().Next(), reference.Next());
}

}  // namespace
}  // namespace velmora
