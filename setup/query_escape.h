// Escaping of a value for the query of the installation report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::setup {

inline constexpr std::size_t kMaxEscapedInput = 255;
inline constexpr std::size_t kEscapeBufferSize = 512;

// Letters A-Z, a-z and digits are copied, every other byte becomes "%XX"
// (upper-case hexadecimal). Only the first kMaxEscapedInput characters are
// read, and escaping stops before a character once the output plus 4 reaches
// kEscapeBufferSize, so the result always fits that buffer with its zero.
std::string EscapeQueryValue(std::string_view value);

}  // namespace velmora::setup
