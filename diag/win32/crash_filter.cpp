#include "diag/win32/crash_filter.h"

#include <dbghelp.h>
#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <optional>

#include "base/run_mode.h"
#include "base/win32/wide_text.h"
#include "diag/crash_files.h"
#include "diag/crash_messages.h"
#include "diag/crash_sequence.h"
#include "diag/desktop_changes.h"
#include "diag/diag_texts.h"
#include "diag/dump_status.h"
#include "diag/win32/dump_writer.h"

namespace velmora::diag {

namespace {

// The code a debugger knows as an uncaught C++ exception.
constexpr DWORD kUncaughtCppException = 0xE06D7363;

constexpr std::size_t kNameBytes = 4 * MAX_PATH;
constexpr std::size_t kTextBytes = 256;

// Everything the filter reads or writes, made before any fault. Plain arrays
// in static storage: nothing here allocates or runs a constructor at a crash.
struct PreparedCrash {
    ChangeDisplayFunction changeDisplaySettings = nullptr;
    std::atomic<DumpWorker*> worker{nullptr};
    char dumpName[kNameBytes] = {};  // UTF-8, as the message names it
    char supportAddress[kTextBytes] = {};
    char toolsPage[kTextBytes] = {};
    wchar_t caption[32] = {};
    wchar_t logKernelName[kNameBytes] = {};
    USHORT logKernelNameBytes = 0;
    char message[kCrashMessageBufferSize] = {};
    wchar_t wideMessage[kCrashMessageBufferSize] = {};
    EXCEPTION_POINTERS* exception = nullptr;  // the first fault's
    DWORD threadId = 0;
    std::uint32_t status = kInvalidError;
};

constinit PreparedCrash gCrash;
constinit CrashSequence gSequence;

template <std::size_t Size>
void CopyText(char (&target)[Size], const std::string& text) {
    const std::size_t count = std::min(text.size(), Size - 1);
    std::memcpy(target, text.data(), count);
    target[count] = '\0';
}

// Empty (the current folder) when the program's path cannot be had whole.
std::string OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return ProgramFolder(Utf8FromWide(std::wstring_view(path, length)));
}

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[kNameBytes] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), kNameBytes, full, nullptr);
    return length == 0 || length >= kNameBytes ? path : std::wstring(full, length);
}

void PrepareLogName(const std::string& logName) {
    const std::wstring kernelName =
        WideFromUtf8(KernelFileName(Utf8FromWide(FullPath(WideFromUtf8(logName)))));
    if (kernelName.size() >= kNameBytes) {
        return;  // no log rather than one in the wrong place
    }
    std::copy(kernelName.begin(), kernelName.end(), gCrash.logKernelName);
    gCrash.logKernelNameBytes = static_cast<USHORT>(kernelName.size() * sizeof(wchar_t));
}

void Prepare(const CrashFilterCalls& calls) {
    gCrash.changeDisplaySettings = calls.changeDisplaySettings;
    const std::string folder = OwnFolder();
    const std::string dumpName = CrashDumpFileName(folder);
    CopyText(gCrash.dumpName, dumpName);
    CopyText(gCrash.supportAddress, DecodeText(texts::kSupportAddress));
    CopyText(gCrash.toolsPage, DecodeText(texts::kDebuggingToolsPage));
    MultiByteToWideChar(CP_UTF8, 0, kCrashCaption, -1, gCrash.caption, std::size(gCrash.caption));
    PrepareLogName(CrashLogFileName(folder));
    gCrash.worker = new DumpWorker(WideFromUtf8(dumpName), MiniDumpWithHandleData);
}

// What the normal end of a run would give back; nothing else of that end runs
// (no settings are written from a crashed process).
void GiveDesktopBack() {
    DesktopChanges& changes = RunDesktopChanges();
    if (changes.saverRunningFlagSet.exchange(false)) {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    }
    if (changes.displayModeSwitched.exchange(false) && gCrash.changeDisplaySettings != nullptr) {
        gCrash.changeDisplaySettings(nullptr, 0);
    }
}

void WriteCrashDump() {
    DumpWorker* worker = gCrash.worker;
    if (worker == nullptr) {
        gCrash.status = kDeathError;
        return;
    }
    worker->Start(gCrash.threadId, gCrash.exception);
    gCrash.status = worker->Wait();
}

// Created through the kernel's own name of the file: the usual path
// conversion allocates from the process heap, which may be locked for good.
// A log that cannot be created is left out.
void WriteLog(std::size_t length) {
    if (gCrash.logKernelNameBytes == 0) {
        return;
    }
    UNICODE_STRING name{gCrash.logKernelNameBytes, gCrash.logKernelNameBytes, gCrash.logKernelName};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE file = nullptr;
    if (!NT_SUCCESS(NtCreateFile(&file, GENERIC_READ | GENERIC_WRITE | SYNCHRONIZE, &attributes,
                                 &io, nullptr, FILE_ATTRIBUTE_NORMAL, 0, FILE_OVERWRITE_IF,
                                 FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr,
                                 0))) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, gCrash.message, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

bool ReportIsBox() {
    return Process().runMode == RunMode::Settings;
}

void Report() {
    const std::size_t length = ComposeCrashMessage(
        gCrash.status, {gCrash.dumpName, gCrash.supportAddress, gCrash.toolsPage}, gCrash.message);
    if (ReportIsBox()) {
        MultiByteToWideChar(CP_UTF8, 0, gCrash.message, -1, gCrash.wideMessage,
                            std::size(gCrash.wideMessage));
        MessageBoxW(GetDesktopWindow(), gCrash.wideMessage, gCrash.caption, MB_OK | MB_ICONERROR);
    } else {
        WriteLog(length);
    }
}

// Ends the process without the system's own error report and without the
// exit handlers a damaged process may hang in.
[[noreturn]] void EndProcess(const EXCEPTION_POINTERS* exception) {
    const DWORD code = exception != nullptr && exception->ExceptionRecord != nullptr
                           ? exception->ExceptionRecord->ExceptionCode
                           : static_cast<DWORD>(EXCEPTION_NONCONTINUABLE_EXCEPTION);
    TerminateProcess(GetCurrentProcess(), code);
    for (;;) {
        Sleep(INFINITE);
    }
}

void RunStep(CrashStep step) {
    switch (step) {
        case CrashStep::GiveDesktopBack:
            GiveDesktopBack();
            break;
        case CrashStep::WriteDump:
            WriteCrashDump();
            break;
        case CrashStep::Report:
            Report();
            break;
        case CrashStep::End:
            break;
    }
}

void WaitForOwner() {
    const DWORD begin = GetTickCount();
    while (KeepWaitingForOwner(GetTickCount() - begin, gSequence.Current(), ReportIsBox())) {
        Sleep(100);
    }
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* exception) {
    switch (gSequence.Enter(GetCurrentThreadId())) {
        case CrashEntry::First:
            gCrash.exception = exception;
            gCrash.threadId = GetCurrentThreadId();
            break;
        case CrashEntry::Again:
            break;  // on from the step after the one that faulted
        case CrashEntry::OtherThread:
            WaitForOwner();
            EndProcess(gCrash.exception);
    }
    for (CrashStep step = gSequence.Claim(); step != CrashStep::End; step = gSequence.Claim()) {
        RunStep(step);
    }
    EndProcess(gCrash.exception);
}

// An uncaught C++ exception, on any thread, is reported as a fault here.
[[noreturn]] void OnTerminate() {
    CONTEXT context{};
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record{};
    record.ExceptionCode = kUncaughtCppException;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = __builtin_return_address(0);
    EXCEPTION_POINTERS pointers{&record, &context};
    CrashFilter(&pointers);
    EndProcess(&pointers);
}

// At most kMaxLogBytesShown bytes, and never more than the reads returned.
std::optional<std::string> ReadLog(const std::string& path) {
    HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

CrashFilterInstallation InstallCrashFilter(const CrashFilterCalls& calls) {
    SetUnhandledExceptionFilter(CrashFilter);
    std::set_terminate(OnTerminate);
    Prepare(calls);
    return {};
}

CrashFilterInstallation::~CrashFilterInstallation() {
    delete gCrash.worker.exchange(nullptr);
}

void ShowCrashLog(const std::string& logPath, MessageBoxFunction showBox) {
    const std::optional<std::string> log = ReadLog(logPath);
    if (!log) {
        return;
    }
    showBox(GetDesktopWindow(), WideFromUtf8(LastCrashMessage(*log)).c_str(),
            WideFromUtf8(kLastCrashCaption).c_str(), MB_OK | MB_ICONWARNING);
}

void ShowLastCrash() {
    ShowCrashLog(CrashLogFileName(OwnFolder()), &MessageBoxW);
}

}  // namespace velmora::diag
