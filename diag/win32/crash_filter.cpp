#include "diag/win32/crash_filter.h"

#include <dbghelp.h>

#include <algorithm>
#include <optional>

#include "base/run_mode.h"
#include "diag/crash_files.h"
#include "diag/crash_messages.h"
#include "diag/desktop_changes.h"
#include "diag/win32/dump_writer.h"

namespace velmora::diag {

namespace {

// Empty (the current folder) when the program's path cannot be had whole.
std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return ProgramFolder(std::string(path, length));
}

// What the normal end of a run would give back; nothing else of that end runs
// (no settings are written from a crashed process).
void GiveDesktopBack() {
    DesktopChanges& changes = RunDesktopChanges();
    if (changes.saverRunningFlagSet.exchange(false)) {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    }
    if (changes.displayModeSwitched.exchange(false)) {
        ChangeDisplaySettingsA(nullptr, 0);
    }
}

// A log that cannot be created is left out.
void WriteLog(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exception) {
    const std::string folder = OwnFolder();
    const std::string dumpFile = CrashDumpFileName(folder);
    const std::uint32_t status =
        WriteDump(dumpFile.c_str(), MiniDumpWithHandleData, GetCurrentThreadId(), exception);
    GiveDesktopBack();
    const std::string message = CrashMessage(status, dumpFile);
    if (Process().runMode == RunMode::Settings) {
        MessageBoxA(GetDesktopWindow(), message.c_str(), kCrashCaption, MB_OK | MB_ICONERROR);
    } else {
        WriteLog(CrashLogFileName(folder), message);
    }
    // The process ends without the system's own error report.
    return EXCEPTION_EXECUTE_HANDLER;
}

// At most kMaxLogBytesShown bytes, and never more than the reads returned.
std::optional<std::string> ReadLog(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    std::string bytes;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        bytes.resize(static_cast<std::size_t>(
            std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(kMaxLogBytesShown))));
        std::size_t got = 0;
        DWORD read = 0;
        while (got < bytes.size() &&
               ReadFile(file, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read,
                        nullptr) &&
               read > 0) {
            got += read;
        }
        bytes.resize(got);
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace

void InstallCrashFilter() {
    SetUnhandledExceptionFilter(CrashFilter);
}

void ShowCrashLog(const std::string& logPath, MessageBoxFunction showBox) {
    const std::optional<std::string> log = ReadLog(logPath);
    if (!log) {
        return;
    }
    showBox(GetDesktopWindow(), LastCrashMessage(*log).c_str(), kLastCrashCaption,
            MB_OK | MB_ICONWARNING);
}

void ShowLastCrash() {
    ShowCrashLog(CrashLogFileName(OwnFolder()), &MessageBoxA);
}

}  // namespace velmora::diag
