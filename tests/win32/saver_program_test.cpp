// The saver program started as the system starts it, with its command lines.
#include <gtest/gtest.h>

#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

constexpr DWORD kTimeoutMs = 20000;

ProgramResult RunSaver(const std::string& arguments) {
    return RunProgram(PathBesideTestProgram("velmora-saver.scr"), arguments, kTimeoutMs);
}

TEST(SaverProgram, SettingsLettersEndCleanly) {
    for (const char* arguments : {"/g", "/x", "-G"}) {
        SCOPED_TRACE(arguments);
        const ProgramResult result = RunSaver(arguments);
        ASSERT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
    }
}

TEST(SaverProgram, PasswordChangeWithoutAPasswordLibraryShowsNothing) {
    const ProgramResult result = RunSaver("/a:12");
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.windowsSeen, 0);
}

TEST(SaverProgram, MalformedCommandLinesDoNotCrash) {
    for (const char* arguments :
         {"", "   ", "/", "-", "/p", "/p 99999999999999999999999999", "/c:", "/a", "\"",
          "/c 4294967296", "/a -2147483649", "\x01\x02\xff", "/p:::::::::::::::::::::::"}) {
        SCOPED_TRACE(arguments);
        const ProgramResult result = RunSaver(arguments);
        ASSERT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
    }
}

}  // namespace
}  // namespace velmora::testing
