#include "music/song_order.h"

namespace velmora::music {

bool PickSong(SongOrder& order, std::size_t count, RandomGenerator& random) {
    if (count == 0) {
        return false;
    }
    if (!order.randomOrder) {
        // A list that shrank under the next index starts again from its head.
        const std::uint32_t taken = order.nextIndex < count ? order.nextIndex : 0;
        order.nextIndex = taken + 1 < count ? taken + 1 : 0;
        order.currentIndex = static_cast<std::int32_t>(taken);
        return true;
    }
    if (order.remainingOrder.empty()) {
        for (std::size_t i = 0; i < count; ++i) {
            order.remainingOrder.push_back(static_cast<std::int32_t>(i));
        }
    }
    const auto position = static_cast<std::size_t>(random.Next()) % order.remainingOrder.size();
    order.currentIndex = order.remainingOrder[position];
    order.remainingOrder.erase(order.remainingOrder.begin() +
                               static_cast<std::ptrdiff_t>(position));
    return true;
}

void DropCurrentSong(SongOrder& order, std::vector<std::string>& songs) {
    const std::int32_t current = order.currentIndex;
    if (current < 0 || static_cast<std::size_t>(current) >= songs.size()) {
        return;
    }
    songs.erase(songs.begin() + current);
    // The songs after the dropped one move down by one, the next one with them.
    if (order.nextIndex > static_cast<std::uint32_t>(current)) {
        --order.nextIndex;
    }
    order.remainingOrder.clear();
    order.currentIndex = -1;
}

}  // namespace velmora::music
