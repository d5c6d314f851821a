// The crash filter in programs that really fault, and the dump writer and
// the last-crash warning in this process.
#include <windows.h>

#include <dbghelp.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "diag/crash_files.h"
#include "diag/crash_messages.h"
#include "diag/dump_status.h"
#include "diag/win32/crash_filter.h"
#include "diag/win32/dump_writer.h"
#include "frame/frame_texts.h"
#include "tests/win32/child_process.h"
#include "tests/win32/process_runner.h"

namespace velmora::testing {
namespace {

using namespace velmora::diag;

constexpr DWORD kTimeoutMs = 30000;

// Paths are UTF-8, as the crash files' names are.
std::wstring Wide(const std::string& path) {
    return WideFromUtf8(path);
}

std::string FileText(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The flag as another process set it. Wine keeps it in a volatile registry
// value and each process reads it once, so SPI_GETSCREENSAVERRUNNING here
// would not see another process change it.
bool SaverRunningFlag() {
    char value[8] = {};
    DWORD size = sizeof value - 1;
    RegGetValueA(HKEY_CURRENT_USER,
                 "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                 "WINE_ScreenSaverRunning", RRF_RT_REG_SZ, nullptr, value, &size);
    return value[0] == '1';
}

// A program copied into a folder of its own, where its crash files land.
class CrashFolder : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine's own crash dialog would stay open for a fault nothing handles.
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD off = 0;
        RegSetValueExA(key, "ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off),
                       sizeof off);
        RegCloseKey(key);
        ASSERT_TRUE(folder_.Valid());
    }

    std::string Copy(const std::string& name) {
        const std::string target = folder_.File(name);
        EXPECT_TRUE(CopyFileA(PathBesideTestProgram(name).c_str(), target.c_str(), FALSE));
        return target;
    }

    std::vector<MessageBoxSeen> Run(const std::string& program, const std::string& arguments) {
        ChildProcess child(program, arguments);
        EXPECT_TRUE(child.Started());
        std::vector<MessageBoxSeen> boxes;
        const auto exitCode = child.WaitClosingBoxes(kTimeoutMs, &boxes);
        EXPECT_TRUE(exitCode.has_value());
        return boxes;
    }

    std::string DumpFile() const { return CrashDumpFileName(folder_.File("")); }
    std::string LogFile() const { return CrashLogFileName(folder_.File("")); }

    TempFolder folder_;
};

TEST_F(CrashFolder, ACrashInTheSettingsShowsTheMessageAtOnceAndWritesNoLog) {
    const auto boxes = Run(Copy("crash_child.exe"), "settings");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, kCrashCaption);
    EXPECT_EQ(boxes[0].text, CrashMessage(kDumpSucceeded, DumpFile()));
    EXPECT_EQ(FileText(DumpFile()).substr(0, 4), "MDMP");
    EXPECT_FALSE(FileExists(LogFile()));
}

TEST_F(CrashFolder, AFailedDumpNamesItsCauseInTheLog) {
    const std::string program = Copy("crash_child.exe");
    const struct {
        const char* loadOrder;  // of DBGHELP.DLL
        bool standIn;
        bool dumpPathTaken;
        std::uint32_t status;
    } rows[] = {{"", false, false, kDbgHelpNotFound},
                {"native", true, false, kDbgHelpMissingExports},
                {"builtin", false, true, kOpenDumpFailed}};
    for (const auto& row : rows) {
        SCOPED_TRACE(DumpStatusName(row.status));
        const WineDllOverride order("crash_child.exe", "dbghelp", row.loadOrder);
        ASSERT_TRUE(order.Applied());
        if (row.standIn) {
            ASSERT_TRUE(CopyFileA(PathBesideTestProgram("standin\\dbghelp.dll").c_str(),
                                  folder_.File("dbghelp.dll").c_str(), FALSE));
        }
        // A folder where the dump file should be cannot be replaced by it.
        if (row.dumpPathTaken) {
            ASSERT_TRUE(CreateDirectoryA(DumpFile().c_str(), nullptr));
        }
        EXPECT_TRUE(Run(program, "").empty());
        EXPECT_EQ(FileText(LogFile()), CrashMessage(row.status, DumpFile()));
        RemoveDirectoryA(DumpFile().c_str());
        DeleteFileA(folder_.File("dbghelp.dll").c_str());
        DeleteFileA(LogFile().c_str());
    }
}

TEST_F(CrashFolder, AFaultDuringARunLeavesDumpAndLogAndTheSettingsShowTheLog) {
    const std::string saver = Copy("velmora-saver.scr");
    {
        ChildProcess run(saver, "/s");
        ASSERT_NE(run.WaitForWindow(DecodeText(texts::kWindowClass), kTimeoutMs), nullptr);
        for (int i = 0; i < 500 && !SaverRunningFlag(); ++i) {
            Sleep(10);
        }
        ASSERT_TRUE(SaverRunningFlag());
        ASSERT_TRUE(run.InjectFault());
        std::vector<MessageBoxSeen> boxes;
        const auto exitCode = run.WaitClosingBoxes(kTimeoutMs, &boxes);
        ASSERT_TRUE(exitCode.has_value());
        EXPECT_NE(*exitCode, 0u);
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_FALSE(SaverRunningFlag());
    EXPECT_EQ(FileText(DumpFile()).substr(0, 4), "MDMP");
    const std::string log = FileText(LogFile());
    EXPECT_EQ(log, CrashMessage(kDumpSucceeded, DumpFile()));

    // Shown at every opening of the settings, until a later crash, before the
    // settings dialog.
    for (int opening = 0; opening < 2; ++opening) {
        const auto boxes = Run(saver, "/c");
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].caption, kLastCrashCaption);
        EXPECT_EQ(boxes[0].text, LastCrashMessage(log));
        EXPECT_EQ(boxes[1].caption, "Velmora Screen Saver Settings");
    }
}

// What the user of a run would find after each kind of failure: the desktop
// back, the process gone in time, and a record of the first failure.
TEST_F(CrashFolder, EveryFailureOfARunGivesTheDesktopBackAndLeavesARecord) {
    const std::string program = Copy("crash_child.exe");
    const struct {
        const char* kind;
        std::uint32_t status;
    } rows[] = {{"in-filter", kDumpSucceeded},
                {"two-threads", kDumpSucceeded},
                {"throw", kDumpSucceeded},
                {"stack-overflow", kDumpSucceeded},
                // No dump can be written, but the wait for it ends.
                {"heap-locked", kDeathError},
                {"heap-locked-elsewhere", kDeathError}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind);
        ChildProcess child(program, row.kind);
        ASSERT_TRUE(child.Started());
        const auto exitCode = child.WaitForEnd(15000);
        ASSERT_TRUE(exitCode.has_value());
        EXPECT_NE(*exitCode, 0u);
        EXPECT_FALSE(SaverRunningFlag());
        if (row.status == kDumpSucceeded) {
            EXPECT_EQ(FileText(DumpFile()).substr(0, 4), "MDMP");
        }
        EXPECT_EQ(FileText(LogFile()), CrashMessage(row.status, DumpFile()));
        DeleteFileW(Wide(DumpFile()).c_str());
        DeleteFileW(Wide(LogFile()).c_str());
    }
}

TEST_F(CrashFolder, CrashFilesLandBesideAProgramInAFolderNamedOutsideTheCodePage) {
    const std::string folder = folder_.File("Фото 写真\\");
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
    const std::string program = folder + "crash_child.exe";
    ASSERT_TRUE(CopyFileW(Wide(PathBesideTestProgram("crash_child.exe")).c_str(),
                          Wide(program).c_str(), FALSE));
    {
        ChildProcess child(program, "");
        ASSERT_TRUE(child.WaitForEnd(kTimeoutMs).has_value());
    }
    const std::string dump = CrashDumpFileName(folder);
    EXPECT_EQ(FileText(dump).substr(0, 4), "MDMP");
    EXPECT_EQ(FileText(CrashLogFileName(folder)), CrashMessage(kDumpSucceeded, dump));
    for (const std::string& file : {program, dump, CrashLogFileName(folder)}) {
        DeleteFileW(Wide(file).c_str());
    }
    RemoveDirectoryW(Wide(folder).c_str());
}

// A dump that is written is checked by the crashes above.
TEST_F(CrashFolder, WriteDumpRefusesABadNameAndReportsAFileItCannotCreate) {
    EXPECT_EQ(WriteDump(std::string(261, 'a').c_str(), MiniDumpNormal, 0, nullptr), kBadParam);
    EXPECT_EQ(WriteDump(static_cast<const char*>(nullptr), MiniDumpNormal, 0, nullptr), kBadParam);
    const std::wstring longWide(261, L'a');
    EXPECT_EQ(WriteDump(longWide.c_str(), MiniDumpNormal, 0, nullptr), kBadParam);
    EXPECT_EQ(WriteDump(folder_.File("missing\\x.dmp").c_str(), MiniDumpNormal, 0, nullptr),
              kOpenDumpFailed);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

std::vector<std::string> gShownBoxes;

int WINAPI RecordBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    EXPECT_EQ(Utf8FromWide(caption), kLastCrashCaption);
    EXPECT_EQ(type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    gShownBoxes.push_back(Utf8FromWide(text));
    return IDOK;
}

TEST_F(CrashFolder, ALogOfAnyContentIsShownWithoutReadingPastIt) {
    ShowCrashLog(LogFile(), RecordBox);
    EXPECT_TRUE(gShownBoxes.empty());

    std::string binary(3 * kMaxLogBytesShown, '\x7f');
    binary[kMaxLogBytesShown + 10] = '\0';
    for (const std::string& log : {std::string(), std::string("no newline"), binary}) {
        gShownBoxes.clear();
        HANDLE file = CreateFileA(LogFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
        CloseHandle(file);
        ShowCrashLog(LogFile(), RecordBox);
        ASSERT_EQ(gShownBoxes.size(), 1u);
        EXPECT_EQ(gShownBoxes[0], LastCrashMessage(log));
    }
}

}  // namespace
}  // namespace velmora::testing
