// The order in which the songs of a run play: list order, wrapping after the
// last song, or shuffled so that each song plays once per cycle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/random.h"

namespace velmora::music {

struct SongOrder {
    // The song that list order plays next.
    std::uint32_t nextIndex = 0;
    // The song now playing; negative when none.
    std::int32_t currentIndex = -1;
    // Shuffled order only: the songs not yet played in this cycle.
    std::vector<std::int32_t> remainingOrder;
    bool randomOrder = false;
};

// Makes the next song of a list of count songs the current one; false, with
// nothing changed, when the list is empty. Shuffled, the position in the
// remaining order is the generator's next value modulo its length, and an
// empty remaining order is first refilled with every song in list order.
bool PickSong(SongOrder& order, std::size_t count, RandomGenerator& random);

// Removes the current song from songs, for the rest of the run. The song that
// was to follow it in list order still comes next, and the shuffled cycle
// starts again from the shortened list. Nothing is removed without a current
// song.
void DropCurrentSong(SongOrder& order, std::vector<std::string>& songs);

}  // namespace velmora::music
