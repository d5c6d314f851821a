#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

// UTF-8 in, the UTF-16 it becomes, and that UTF-16 back as UTF-8.
struct Case {
    const char* what;
    std::string utf8;
    std::u16string utf16;
    std::string back;
};

TEST(Utf8, ConvertsWellAndIllFormedText) {
    const Case cases[] = {
        {"empty", "", u"", ""},
        {"ascii with a NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3),
         std::string("a\0b", 3)},
        {"two-byte",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         u"\u0141\u00F3d\u017A",
         "\xC5\x81\xC3\xB3"
         "d\xC5\xBA"},
        {"basic plane", "\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {"last of the basic plane", "\xEF\xBF\xBF", u"\uFFFF", "\xEF\xBF\xBF"},
        {"supplementary", "\xF0\x9F\x99\x82", u"\U0001F642", "\xF0\x9F\x99\x82"},
        {"highest", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD",
         kFffd + kFffd + kFffd + kFffd},
        {"over-long slash", "\xC0\xAF", u"\uFFFD\uFFFD", kFffd + kFffd},
        {"over-long three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", kFffd + kFffd + kFffd},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", kFffd + kFffd + kFffd},
        {"truncated at the end", "a\xE6\x97", u"a\uFFFD", "a" + kFffd},
        {"truncated before ascii", "\xF0\x9F\x99z", u"\uFFFDz", kFffd + "z"},
        {"stray continuation", "\x80x", u"\uFFFDx", kFffd + "x"},
        {"Latin-1 byte", "Caf\xE9", u"Caf\uFFFD", "Caf" + kFffd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
        EXPECT_EQ(Utf8FromUtf16(c.utf16), c.back);
        EXPECT_EQ(IsValidUtf8(c.utf8), c.utf8 == c.back);
        EXPECT_EQ(ValidUtf8(c.utf8), c.back);
        EXPECT_EQ(Utf16Length(c.utf8), c.utf16.size());
    }
}

TEST(Utf8, LoneSurrogatesFromTheSystemBecomeReplacements) {
    const struct {
        std::u16string utf16;
        std::string utf8;
    } cases[] = {
        {std::u16string(1, u'\xD83D') + u"x", kFffd + "x"},
        {u"x" + std::u16string(1, u'\xDE42'), "x" + kFffd},
        {std::u16string{u'\xDE42', u'\xD83D'}, kFffd + kFffd},  // in the wrong order
        {std::u16string(1, u'\xD83D'), kFffd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
        EXPECT_FALSE(IsValidUtf16(c.utf16));
    }
    EXPECT_TRUE(IsValidUtf16(u"\U0001F642\u65E5"));
    EXPECT_TRUE(IsValidUtf16(u""));
}

TEST(Utf8, CharacterCutShortAtTheEndIsDropped) {
    const std::pair<std::string, std::string> cases[] = {
        {"ab", "ab"},
        {"a\xC5", "a"},
        {"a\xC5\x81", "a\xC5\x81"},
        {"a\xF0\x9F\x99", "a"},
        {"a\xF0\x9F\x99\x82", "a\xF0\x9F\x99\x82"},
        {"", ""},
    };
    for (const auto& [text, kept] : cases) {
        EXPECT_EQ(WithoutCutCharacter(text), kept);
    }
}

}  // namespace
}  // namespace velmora
