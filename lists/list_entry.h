// One entry of the picture or music list: the full path of a file, or of a
// folder when it ends in a backslash, as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/utf8.h"

namespace velmora::lists {

// The longest entry, in UTF-16 units: a path the system's wide calls take
// whole, its terminator filling a 260-character buffer.
inline constexpr std::size_t kLongestListEntry = 259;
// Bytes a read needs for the longest entry and its terminator: a UTF-16 unit
// is at most three UTF-8 bytes (and a pair of them four).
inline constexpr std::uint32_t kListEntryBufferSize = kLongestListEntry * 3 + 1;

// Whether a list can keep the entry: a longer one would be saved, then left
// out by the next load and lost at the next save; bytes that are no UTF-8
// would come back as other characters.
inline bool FitsListEntry(std::string_view path) {
    return IsValidUtf8(path) && Utf16Length(path) <= kLongestListEntry;
}

inline bool IsFolderEntry(std::string_view path) {
    return !path.empty() && path.back() == '\\';
}

}  // namespace velmora::lists
