// One entry of the picture or music list: the full path of a file, or of a
// folder when it ends in a backslash.
#pragma once

#include <cstdint>
#include <string_view>

namespace velmora::lists {

// An entry and its terminator fit a path buffer of this many bytes.
inline constexpr std::uint32_t kListEntryBufferSize = 260;

inline bool IsFolderEntry(std::string_view path) {
    return !path.empty() && path.back() == '\\';
}

}  // namespace velmora::lists
