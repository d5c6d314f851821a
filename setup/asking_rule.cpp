#include "setup/asking_rule.h"

namespace velmora::setup {

bool ShouldAsk(std::optional<std::uint32_t> lastAsked, std::uint32_t now) {
    // Unsigned difference: a time after now wraps to a large age.
    return !lastAsked || static_cast<std::uint32_t>(now - *lastAsked) >= kAskIntervalSeconds;
}

}  // namespace velmora::setup
