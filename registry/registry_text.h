// Reading a text out of a value's raw data. The registry does not promise a
// terminator (a value of another type, or a string set without its NUL), so
// the data is never read past its size.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora::registry {

// The text held by dataSize bytes that came back into a buffer of bufferSize
// bytes: the bytes up to the first NUL, or all of them when there is none but
// the buffer has room left for one. Nothing when the text and its terminator
// do not fit the buffer.
std::optional<std::string_view> TextInValueData(const char* data, std::uint32_t dataSize,
                                                std::uint32_t bufferSize);

}  // namespace velmora::registry
