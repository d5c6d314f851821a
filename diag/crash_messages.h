// The texts the user sees after a crash: at once, or stored in the log and
// shown at the next opening of the settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::diag {

inline constexpr char kCrashCaption[] = "Fatal Program Error";
inline constexpr char kLastCrashCaption[] = "Fatal Program Warning";

// The message composes into a buffer of this many bytes, terminator included.
inline constexpr std::size_t kCrashMessageBufferSize = 1280;

// Most bytes of a stored log that the warning shows; a log we write is
// shorter than the message buffer, anything longer was not written by us.
inline constexpr std::size_t kMaxLogBytesShown = 64 * 1024;

// The texts a crash message is made of besides its fixed wording.
struct CrashMessageTexts {
    std::string_view dumpFileName;
    std::string_view supportAddress;
    std::string_view debuggingToolsPage;
};

// Composes the message for a dump attempt that ended with the given status
// into buffer (cut to fit, always zero-terminated) and returns its length.
// Touches no heap, so the crash filter can use it in a damaged process.
std::size_t ComposeCrashMessage(std::uint32_t status, const CrashMessageTexts& texts,
                                char (&buffer)[kCrashMessageBufferSize]);

// The same, with the program's own support texts.
std::string CrashMessage(std::uint32_t status, const std::string& dumpFileName);

// The warning for a stored log: the fixed prefix, then the log's text up to
// its first zero byte.
std::string LastCrashMessage(std::string_view logBytes);

}  // namespace velmora::diag
