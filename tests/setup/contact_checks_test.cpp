// The setup assistant's checks of the contact fields.
#include "setup/contact_checks.h"

#include <gtest/gtest.h>

namespace velmora::setup {
namespace {

TEST(EmailCheck, NeedsFiveCharactersAnAtAndADotAfterIt) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"a@b.c", true},  {"ab@c.", true},   {"@a.bc", true},     {"a.b@cd", false},
        {"a.b@c", false}, {"a@.c", false},   {"a@bc", false},     {"ab.cd", false},
        {"", false},      {"a@b.c@d", true}, {"x.y@a@b.c", true}, {"ab@cde", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidEmail(c.text), c.valid) << c.text;
    }
}

TEST(EmailCheck, OnlyAWantedContactNeedsAnAddress) {
    EXPECT_TRUE(AcceptsContactEntry(false, ""));
    EXPECT_TRUE(AcceptsContactEntry(false, "not an address"));
    EXPECT_FALSE(AcceptsContactEntry(true, ""));
    EXPECT_FALSE(AcceptsContactEntry(true, "a.b@c"));
    EXPECT_TRUE(AcceptsContactEntry(true, "a@b.c"));
}

}  // namespace
}  // namespace velmora::setup
