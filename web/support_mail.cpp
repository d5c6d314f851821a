#include "web/support_mail.h"

namespace velmora::web {

bool SendSupportMail(const SupportMailSteps& steps) {
    for (int attempt = 1; attempt <= kClipboardAttempts; ++attempt) {
        if (steps.copyReport()) {
            steps.openMail();
            return true;
        }
        if (attempt < kClipboardAttempts) {
            steps.wait(kClipboardRetryMilliseconds);
        }
    }
    steps.tellNotCopied();
    return false;
}

std::string ClipboardBusyCaption() {
    return "Email Quillfen Graphics";
}

std::string ClipboardBusyText() {
    return "The support information could not be put on the clipboard because another program "
           "is using it, so no e-mail was started. Please close that program's window or wait "
           "a moment, then press the button again.";
}

}  // namespace velmora::web
