// When the setup assistant asks for contact data again.
#pragma once

#include <cstdint>
#include <optional>

namespace velmora::setup {

// 2 hours 48 minutes.
inline constexpr std::uint32_t kAskIntervalSeconds = 10080;

// Times are seconds since 1970-01-01 UTC, as stored in the 32-bit registry
// value. Asks when there is no earlier asking or it is at least
// kAskIntervalSeconds old; a stored time later than now (the clock was put
// back) counts as old, so a wrong clock never stops the asking for good.
bool ShouldAsk(std::optional<std::uint32_t> lastAsked, std::uint32_t now);

}  // namespace velmora::setup
