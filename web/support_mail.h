// The support e-mail's order of things: the report goes onto the clipboard
// first, and the mail opens only once it is there, so that a paste into the
// mail never carries whatever another program left on the clipboard.
#pragma once

#include <functional>
#include <string>

namespace velmora::web {

// Another program holding the clipboard usually lets go within a moment.
inline constexpr int kClipboardAttempts = 10;
inline constexpr unsigned kClipboardRetryMilliseconds = 50;

struct SupportMailSteps {
    // True once the report is on the clipboard.
    std::function<bool()> copyReport;
    std::function<void(unsigned milliseconds)> wait;
    std::function<void()> openMail;
    // Says that the report could not be copied and no mail was started.
    std::function<void()> tellNotCopied;
};

// Copies (up to kClipboardAttempts times, waiting between), then opens the
// mail; when no copy succeeded, tells the user instead. True when the mail
// was opened.
bool SendSupportMail(const SupportMailSteps& steps);

// The caption and text of that message.
std::string ClipboardBusyCaption();
std::string ClipboardBusyText();

}  // namespace velmora::web
