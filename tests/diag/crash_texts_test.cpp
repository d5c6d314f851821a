// Status names, crash file names and the crash messages.
#include <gtest/gtest.h>

#include <string>

#include "diag/crash_files.h"
#include "diag/crash_messages.h"
#include "diag/dump_library.h"
#include "diag/dump_status.h"

namespace velmora::diag {
namespace {

TEST(DumpStatusName, NamesEveryCodeAndInvalidOutside) {
    const struct {
        std::uint32_t status;
        const char* name;
    } rows[] = {{0, "INVALID_ERROR"},     {1, "DEATH_ERROR"},
                {2, "DUMP_SUCCEEDED"},    {3, "MINIDUMPWRITEDUMP_FAILED"},
                {4, "OPEN_DUMP_FAILED"},  {5, "DBGHELP_MISSING_EXPORTS"},
                {6, "DBGHELP_NOT_FOUND"}, {7, "BAD_PARAM"},
                {8, "INVALID_ERROR"},     {0xFFFFFFFFu, "INVALID_ERROR"}};
    for (const auto& row : rows) {
        EXPECT_STREQ(DumpStatusName(row.status), row.name) << row.status;
    }
}

TEST(DumpLibrary, AFailedLoadIsNotTriedAgain) {
    for (const std::uint32_t failure : {kDbgHelpNotFound, kDbgHelpMissingExports}) {
        DumpLibraryState state;
        int loads = 0;
        const auto load = [&] {
            ++loads;
            return DumpLibraryLoad{nullptr, failure};
        };
        EXPECT_EQ(LoadDumpLibraryOnce(state, load), failure);
        EXPECT_EQ(LoadDumpLibraryOnce(state, load), failure);
        EXPECT_EQ(loads, 1);
    }
}

TEST(DumpLibrary, AFoundEntryIsKept) {
    DumpLibraryState state;
    int entry = 0;
    int loads = 0;
    const auto load = [&] {
        ++loads;
        return DumpLibraryLoad{&entry, kDumpSucceeded};
    };
    EXPECT_EQ(LoadDumpLibraryOnce(state, load), kDumpSucceeded);
    EXPECT_EQ(LoadDumpLibraryOnce(state, load), kDumpSucceeded);
    EXPECT_EQ(state.writeDump, &entry);
    EXPECT_EQ(loads, 1);
}

TEST(CrashFiles, BesideTheProgram) {
    EXPECT_EQ(ProgramFolder("C:\\Windows\\System32\\velmora.scr"), "C:\\Windows\\System32\\");
    EXPECT_EQ(ProgramFolder("C:\\velmora.scr"), "C:\\");
    EXPECT_EQ(ProgramFolder("velmora.scr"), "");
    EXPECT_EQ(ProgramFolder(""), "");
    EXPECT_EQ(CrashDumpFileName("C:\\x\\"), "C:\\x\\Ovix Velmora.dmp");
    EXPECT_EQ(CrashLogFileName(""), "Ovix Velmora.log");
}

TEST(CrashMessage, DumpWrittenNamesTheFileAndTheSupportAddress) {
    EXPECT_EQ(CrashMessage(kDumpSucceeded, "C:\\a.dmp"),
              "A fatal program error occured, the file \"C:\\a.dmp\" has been created which "
              "contains details about the program error and will allow us to debug and fix the "
              "problem.  Please email this file to support@quillfen.example at your earliest "
              "convience, thank you.");
}

TEST(CrashMessage, MissingOrOldLibraryPointsToTheDebuggingTools) {
    const std::string missing = CrashMessage(kDbgHelpNotFound, "C:\\a.dmp");
    const std::string old = CrashMessage(kDbgHelpMissingExports, "C:\\a.dmp");
    const std::string opening =
        "A fatal program error occured, unfortunately the file \"C:\\a.dmp\" could not be created "
        "to allow us to debug and fix the problem.  The reason the file could not be created was "
        "because the file DBGHELP.DLL ";
    EXPECT_EQ(missing.rfind(opening + "is not on your system.\r\n\r\nIf you would like", 0), 0u);
    EXPECT_EQ(old.rfind(opening + "is the wrong version on your system.\r\n\r\nIf you", 0), 0u);
    for (const std::string& text : {missing, old}) {
        EXPECT_NE(text.find("Available at:\r\n\r\nhttps://learn.microsoft.com/"),
                  std::string::npos);
        EXPECT_TRUE(text.ends_with(
            "\r\n\r\nAfter you have installed the debug tools simply run this program again to "
            "obtain a diagnostic file which you can send to us."));
    }
}

TEST(CrashMessage, OtherFailuresNameTheStatus) {
    for (const std::uint32_t status : {0u, 1u, 3u, 4u, 7u, 99u}) {
        const std::string text = CrashMessage(status, "C:\\a.dmp");
        const std::string cause = std::string("was ") + DumpStatusName(status) + ".  Please email";
        EXPECT_NE(text.find(cause), std::string::npos) << status;
        EXPECT_TRUE(
            text.ends_with("to support@quillfen.example at your earliest convience so we "
                           "can look into this issue, thank you."));
    }
}

TEST(CrashMessage, FitsTheMessageBuffer) {
    const std::string text = CrashMessage(kDbgHelpNotFound, std::string(2000, 'x'));
    EXPECT_EQ(text.size(), kCrashMessageBufferSize - 1);
}

TEST(LastCrashMessage, AnyLogContentIsShownSafely) {
    const std::string prefix =
        "A fatal program error occured the last time this program was run.  The details of the "
        "error are below.\r\n\r\n";
    const struct {
        std::string log;
        std::string shown;
    } rows[] = {
        {"", ""},
        {"no final newline", "no final newline"},
        {std::string("bin\0ary\xff", 8), "bin"},
        {std::string(kMaxLogBytesShown + 5, 'h'), std::string(kMaxLogBytesShown, 'h')},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LastCrashMessage(row.log), prefix + row.shown);
    }
}

}  // namespace
}  // namespace velmora::diag
