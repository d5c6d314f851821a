#include "web/support_mail.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::web {
namespace {

TEST(SupportMailTest, TheMailOpensOnlyAfterTheReportIsOnTheClipboard) {
    const struct {
        int failedCopies;
        bool opened;
    } cases[] = {
        {0, true},
        {3, true},
        {kClipboardAttempts - 1, true},
        {kClipboardAttempts, false},
    };
    for (const auto& c : cases) {
        std::string log;
        int copies = 0;
        unsigned waited = 0;
        const SupportMailSteps steps{
            [&] {
                log += 'c';
                return ++copies > c.failedCopies;
            },
            [&](unsigned milliseconds) { waited += milliseconds; },
            [&] { log += 'M'; },
            [&] { log += 'T'; },
        };
        EXPECT_EQ(SendSupportMail(steps), c.opened) << c.failedCopies;
        const int tries = c.opened ? c.failedCopies + 1 : kClipboardAttempts;
        EXPECT_EQ(log, std::string(tries, 'c') + (c.opened ? "M" : "T")) << c.failedCopies;
        EXPECT_EQ(waited, (tries - 1) * kClipboardRetryMilliseconds) << c.failedCopies;
    }
}

}  // namespace
}  // namespace velmora::web
