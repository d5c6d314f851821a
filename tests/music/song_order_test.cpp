// The order songs play in, listed or shuffled, and the rule for starting the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "music/song_order.h"
#include "music/start_rule.h"

namespace velmora::music {
namespace {

using Songs = std::vector<std::string>;

std::vector<int> Picks(SongOrder& order, std::size_t count, int picks, std::uint32_t seed = 1) {
    RandomGenerator random(seed);
    std::vector<int> taken;
    for (int i = 0; i < picks && PickSong(order, count, random); ++i) {
        taken.push_back(order.currentIndex);
    }
    return taken;
}

TEST(SongOrder, ListOrderWrapsAfterTheLastSong) {
    SongOrder order;
    EXPECT_EQ(Picks(order, 3, 5), (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(order.nextIndex, 2u);
    SongOrder one;
    EXPECT_EQ(Picks(one, 1, 3), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(Picks(one, 0, 1).empty());
    // A next index left beyond a shortened list starts from the head.
    SongOrder beyond;
    beyond.nextIndex = 5;
    EXPECT_EQ(Picks(beyond, 3, 2), (std::vector<int>{0, 1}));
}

TEST(SongOrder, ShuffledEverySongPlaysOncePerCycle) {
    for (std::size_t count = 1; count <= 5; ++count) {
        SongOrder order;
        order.randomOrder = true;
        const std::vector<int> taken = Picks(order, count, static_cast<int>(count) * 4, 77);
        for (std::size_t cycle = 0; cycle < 4; ++cycle) {
            std::vector<int> one(taken.begin() + cycle * count,
                                 taken.begin() + (cycle + 1) * count);
            std::sort(one.begin(), one.end());
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_EQ(one[i], static_cast<int>(i)) << count << " songs, cycle " << cycle;
            }
        }
    }
}

TEST(SongOrder, ShuffledPositionIsTheGeneratorsValueModuloTheRemainingLength) {
    SongOrder order;
    order.randomOrder = true;
    RandomGenerator random(9);
    RandomGenerator twin(9);
    ASSERT_TRUE(PickSong(order, 5, random));
    const int first = twin.Next() % 5;
    EXPECT_EQ(order.currentIndex, first);
    std::vector<std::int32_t> rest = {0, 1, 2, 3, 4};
    rest.erase(rest.begin() + first);
    EXPECT_EQ(order.remainingOrder, rest);
    ASSERT_TRUE(PickSong(order, 5, random));
    EXPECT_EQ(order.currentIndex, rest[static_cast<std::size_t>(twin.Next() % 4)]);
}

TEST(SongOrder, DroppingTheCurrentSongKeepsTheFollowingOneNext) {
    struct Case {
        std::int32_t current;
        std::uint32_t next;
        Songs left;
        std::uint32_t nextAfter;
    };
    const Case cases[] = {
        {1, 2, {"a", "c", "d"}, 1},       {0, 1, {"b", "c", "d"}, 0},
        {3, 0, {"a", "b", "c"}, 0},       {2, 1, {"a", "b", "d"}, 1},
        {-1, 2, {"a", "b", "c", "d"}, 2}, {4, 2, {"a", "b", "c", "d"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        Songs songs = {"a", "b", "c", "d"};
        SongOrder order{c.next, c.current, {0, 3}, false};
        DropCurrentSong(order, songs);
        EXPECT_EQ(songs, c.left);
        EXPECT_EQ(order.nextIndex, c.nextAfter);
        EXPECT_EQ(order.remainingOrder.empty(), c.left.size() == 3);
    }
}

TEST(StartRule, DueOnceAtTheFirstStepMoreThanThreeSecondsAfterTheFirst) {
    StartRule rule;
    const double steps[] = {1000.0, 2500.0, 4000.0, 4000.5, 4001.0, 90000.0};
    const bool due[] = {false, false, false, true, false, false};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(rule.Due(steps[i]), due[i]) << steps[i];
    }
    EXPECT_TRUE(rule.Started());
}

}  // namespace
}  // namespace velmora::music
