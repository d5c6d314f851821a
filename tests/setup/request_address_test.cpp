// The setup assistant's request address, query escaping and asking rule.
#include "setup/request_address.h"

#include <gtest/gtest.h>

#include <string>

#include "setup/asking_rule.h"
#include "setup/query_escape.h"

namespace velmora::setup {
namespace {

TEST(QueryEscape, KeepsLettersAndDigitsOnly) {
    const struct {
        std::string value;
        std::string escaped;
    } cases[] = {
        {"Az09", "Az09"},       {"Ann Lee", "Ann%20Lee"},   {"Ren\xE9", "Ren%E9"},
        {"a-b.c", "a%2Db%2Ec"}, {"x@y_z~", "x%40y%5Fz%7E"}, {std::string("a\0b", 3), "a%00b"},
        {"\xFF", "%FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeQueryValue(c.value), c.escaped) << c.escaped;
    }
}

// 170 escaped blanks make 510 bytes; a 171st would not fit with its zero.
std::string EscapedBlanks170() {
    std::string escaped;
    for (int i = 0; i < 170; ++i) {
        escaped += "%20";
    }
    return escaped;
}

TEST(QueryEscape, StaysInsideItsBufferAndReadsAtMost255Characters) {
    EXPECT_EQ(EscapeQueryValue(std::string(255, ' ')), EscapedBlanks170());
    EXPECT_EQ(EscapeQueryValue(std::string(300, 'n')), std::string(255, 'n'));
    // Before each character the output plus 4 must stay below 512.
    const std::string fits = std::string(126, ' ') + std::string(129, 'n');
    EXPECT_EQ(EscapeQueryValue(fits).size(), 507u);
    const std::string cut = std::string(127, ' ') + std::string(128, 'n');
    EXPECT_EQ(EscapeQueryValue(cut).size(), 508u);
}

const std::string kBase = "http://www.quillfen.example/installed.html";

TEST(RequestAddress, CarriesContactDataOnlyWhenWanted) {
    const struct {
        ContactEntry contact;
        std::string extra;
        std::string query;
    } cases[] = {
        {{"Ann Lee", "ann@x.example", true},
         "",
         "?install=true&a=s&name=Ann%20Lee&email=ann%40x%2Eexample"},
        {{"Ann Lee", "ann@x.example", false}, "&v=1.1", "?install=true&v=1.1"},
        {{"Ann", "a.b@c", true}, "", "?install=true&a=s&name=Ann&email="},
        {{"", "", false}, "x", "?install=true"},
        {{"", "", false}, "&s", "?install=true&s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildRequestAddress(kBase, c.contact, c.extra), kBase + c.query);
    }
}

TEST(RequestAddress, IsCutTo1023Characters) {
    const ContactEntry contact{std::string(300, ' '), "a@b.c", true};
    const std::string extra = "&extra=" + std::string(600, 'x');
    const std::string whole =
        kBase + "?install=true&a=s&name=" + EscapedBlanks170() + "&email=a%40b%2Ec" + extra;
    ASSERT_GT(whole.size(), kMaxRequestAddress);
    EXPECT_EQ(BuildRequestAddress(kBase, contact, extra), whole.substr(0, kMaxRequestAddress));
}

TEST(RequestAddress, BaseFileEndsAtItsZeroAndLosesItsLineEnd) {
    EXPECT_EQ(BaseAddressFromFile(kBase + "\r\n"), kBase);
    EXPECT_EQ(BaseAddressFromFile(kBase + "\n"), kBase);
    EXPECT_EQ(BaseAddressFromFile(kBase + std::string("\0tail", 5)), kBase);
    EXPECT_TRUE(FitsTextBuffer(1023, 1024));
    EXPECT_FALSE(FitsTextBuffer(1024, 1024));
}

TEST(AskingRule, AsksAgainAfter10080Seconds) {
    const std::uint32_t now = 1'800'000'000;
    EXPECT_TRUE(ShouldAsk(std::nullopt, now));
    EXPECT_FALSE(ShouldAsk(now, now));
    EXPECT_FALSE(ShouldAsk(now - 10079, now));
    EXPECT_TRUE(ShouldAsk(now - 10080, now));
    EXPECT_TRUE(ShouldAsk(now + 60, now));
}

}  // namespace
}  // namespace velmora::setup
