// One entry of the picture or music list: the full path of a file, or of a
// folder when it ends in a backslash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::lists {

// An entry and its terminator fit a path buffer of this many bytes.
inline constexpr std::uint32_t kListEntryBufferSize = 260;
// The longest entry that storage writes and reads back whole.
inline constexpr std::size_t kLongestListEntry = kListEntryBufferSize - 1;

// Whether a list can keep the entry: a longer one would be saved, then left
// out by the next load and lost at the next save.
inline bool FitsListEntry(std::string_view path) {
    return path.size() <= kLongestListEntry;
}

inline bool IsFolderEntry(std::string_view path) {
    return !path.empty() && path.back() == '\\';
}

}  // namespace velmora::lists
