// The saver program started as the system starts it, with its command lines.
#include <gtest/gtest.h>

#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

constexpr DWORD kTimeoutMs = 20000;

ProgramResult RunSaver(const std::string& arguments) {
    return RunProgram(PathBesideTestProgram("velmora-saver.scr"), arguments, kTimeoutMs);
}

// The settings mode's windows (the settings dialog, an earlier crash's report)
// are modal; they are closed as a user would close them.
ProgramResult RunSaverClosingItsWindows(const std::string& arguments) {
    return RunProgram(PathBesideTestProgram("velmora-saver.scr"), arguments, kTimeoutMs, {},
                      ShownWindows::Close);
}

TEST(ProgramRunner, ClosesAModalDialogAsTheUserWould) {
    const ProgramResult result =
        RunProgram(PathBesideTestProgram("standin\\modal_dialog_standin.exe"), "", kTimeoutMs, {},
                   ShownWindows::Close);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(IDCANCEL));
    EXPECT_EQ(result.windowsSeen, 1);
}

TEST(SaverProgram, SettingsLettersEndCleanly) {
    for (const char* arguments : {"/g", "/x", "-G"}) {
        SCOPED_TRACE(arguments);
        const ProgramResult result = RunSaverClosingItsWindows(arguments);
        ASSERT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
    }
}

TEST(SaverProgram, PasswordChangeWithoutAPasswordLibraryShowsNothing) {
    // Wine ships a library of that name; disabling it leaves the saver without one.
    const WineDllOverride noLibrary("velmora-saver.scr", "mpr", "");
    ASSERT_TRUE(noLibrary.Applied());
    const ProgramResult result = RunSaver("/a:12");
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.windowsSeen, 0);
}

TEST(SaverProgram, PasswordChangeCallsTheLibraryWithProviderAndParent) {
    TempFolder folder;
    ASSERT_TRUE(folder.Valid());
    const std::string saver = folder.File("velmora-saver.scr");
    ASSERT_TRUE(
        CopyFileA(PathBesideTestProgram("velmora-saver.scr").c_str(), saver.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(PathBesideTestProgram("standin\\mpr.dll").c_str(),
                          folder.File("mpr.dll").c_str(), FALSE));
    const std::string record = folder.File("record.txt");

    const WineDllOverride standIn("velmora-saver.scr", "mpr", "native");
    ASSERT_TRUE(standIn.Applied());
    const ProgramResult result =
        RunProgram(saver, "/a:12", kTimeoutMs, {{"VELMORA_PASSWORD_RECORD", record}});
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    const auto bytes = ReadWholeFile(record);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "change SCRSAVE 12 0 0\n");
}

TEST(SaverProgram, MalformedCommandLinesDoNotCrash) {
    for (const char* arguments :
         {"", "   ", "/", "-", "/p", "/p 99999999999999999999999999", "/p 305419896", "/c:", "/a",
          "\"", "/c 4294967296", "/a -2147483649", "\x01\x02\xff", "/p:::::::::::::::::::::::"}) {
        SCOPED_TRACE(arguments);
        const ProgramResult result = RunSaverClosingItsWindows(arguments);
        ASSERT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
    }
}

}  // namespace
}  // namespace velmora::testing
