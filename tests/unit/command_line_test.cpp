// Reading the run mode and parent window from the saver's command line.
#include "frame/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

struct Expected {
    const char* line;
    RunMode mode;
    std::int64_t window;
    bool foreground;
};

void ExpectParsed(const Expected& expected) {
    SCOPED_TRACE(std::string("command line: [") + expected.line + "]");
    const ParsedCommandLine parsed = ParseCommandLine(expected.line);
    EXPECT_EQ(parsed.mode, expected.mode);
    EXPECT_EQ(parsed.window, expected.window);
    EXPECT_EQ(parsed.useForegroundWindow, expected.foreground);
}

TEST(CommandLine, SettingsWithoutParentForNothingGAndUnknownLetters) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr /g", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr /x", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr -G", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr /", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr --s", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr /?", RunMode::Settings, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, SettingsWithParent) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr /c", RunMode::Settings, 0, true},
             Expected{"velmora-saver.scr /c   ", RunMode::Settings, 0, true},
             Expected{"velmora-saver.scr /c:", RunMode::Settings, 0, true},
             Expected{"velmora-saver.scr /c:1234", RunMode::Settings, 1234, false},
             Expected{"velmora-saver.scr -C 1234", RunMode::Settings, 1234, false},
             Expected{"velmora-saver.scr /c : 99", RunMode::Settings, 99, false},
             // Something follows that is not a number: no parent, not the foreground.
             Expected{"velmora-saver.scr /c x", RunMode::Settings, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, PreviewInEveryForm) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr /p 5678", RunMode::Preview, 5678, false},
             Expected{"velmora-saver.scr /p:5678", RunMode::Preview, 5678, false},
             Expected{"velmora-saver.scr /P5678", RunMode::Preview, 5678, false},
             Expected{"velmora-saver.scr -p :: 5678", RunMode::Preview, 5678, false},
             Expected{"velmora-saver.scr p 5678", RunMode::Preview, 5678, false},
             Expected{"velmora-saver.scr /p 12abc", RunMode::Preview, 12, false},
             Expected{"velmora-saver.scr /p -7", RunMode::Preview, -7, false},
             Expected{"velmora-saver.scr /p", RunMode::Preview, 0, false},
             Expected{"velmora-saver.scr /p abc", RunMode::Preview, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, FullScreenInEveryForm) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr /s", RunMode::FullScreen, 0, false},
             Expected{"velmora-saver.scr -S", RunMode::FullScreen, 0, false},
             Expected{"velmora-saver.scr s", RunMode::FullScreen, 0, false},
             Expected{"velmora-saver.scr /s 1234", RunMode::FullScreen, 0, false},
             Expected{"velmora-saver.scr\t/s", RunMode::FullScreen, 0, false},
             Expected{"velmora-saver.scr     /S", RunMode::FullScreen, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, ChangePassword) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr /a:12", RunMode::ChangePassword, 12, false},
             Expected{"velmora-saver.scr -A 12", RunMode::ChangePassword, 12, false},
             Expected{"velmora-saver.scr /a", RunMode::ChangePassword, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, QuotedProgramPathIsSkippedWhole) {
    for (const Expected& e : {
             Expected{"\"C:\\Program Files\\My Saver\\velmora-saver.scr\" /s", RunMode::FullScreen,
                      0, false},
             Expected{"\"C:\\Program Files\\p s\\velmora-saver.scr\" /p 42", RunMode::Preview, 42,
                      false},
             Expected{"\"C:\\a b\\velmora-saver.scr\"", RunMode::Settings, 0, false},
             // Without its closing quote the whole line is the program name.
             Expected{"\"C:\\Program Files\\velmora-saver.scr /s", RunMode::Settings, 0, false},
             Expected{"\"", RunMode::Settings, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, EmptyAndBlankLinesOpenTheSettings) {
    for (const Expected& e : {
             Expected{"", RunMode::Settings, 0, false},
             Expected{" ", RunMode::Settings, 0, false},
             Expected{"      ", RunMode::Settings, 0, false},
             Expected{"\t \t", RunMode::Settings, 0, false},
             Expected{"velmora-saver.scr    ", RunMode::Settings, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, HandlesOutside32BitsNameNoWindow) {
    for (const Expected& e : {
             Expected{"velmora-saver.scr /p 2147483647", RunMode::Preview, 2147483647, false},
             Expected{"velmora-saver.scr /p -2147483648", RunMode::Preview, -2147483648LL, false},
             Expected{"velmora-saver.scr /p 2147483648", RunMode::Preview, 0, false},
             Expected{"velmora-saver.scr /p 4294967296", RunMode::Preview, 0, false},
             Expected{"velmora-saver.scr /c 99999999999999999999999999999", RunMode::Settings, 0,
                      false},
             Expected{"velmora-saver.scr /a -2147483649", RunMode::ChangePassword, 0, false},
         }) {
        ExpectParsed(e);
    }
}

TEST(CommandLine, StopsAtTheEndOfTheGivenText) {
    // The view ends before the digits that follow in memory.
    const std::string buffer = "velmora-saver.scr /p 12345";
    const ParsedCommandLine parsed =
        ParseCommandLine(std::string_view(buffer).substr(0, buffer.size() - 3));
    EXPECT_EQ(parsed.mode, RunMode::Preview);
    EXPECT_EQ(parsed.window, 12);
}

}  // namespace
}  // namespace velmora
