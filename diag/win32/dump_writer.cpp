#include "diag/win32/dump_writer.h"

#include <dbghelp.h>

#include <cstring>
#include <cwchar>

#include "diag/crash_sequence.h"

#include "base/win32/library_entry.h"
#include "diag/crash_files.h"
#include "diag/diag_texts.h"
#include "diag/dump_library.h"
#include "diag/dump_status.h"

namespace velmora::diag {

namespace {

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                PMINIDUMP_USER_STREAM_INFORMATION,
                                                PMINIDUMP_CALLBACK_INFORMATION);

// Constant-initialised: the crash path runs no initialiser.
constinit DumpLibraryState gLibrary;
constinit MiniDumpWriteDumpFunction gWriteDump = nullptr;

DumpLibraryLoad LoadDumpLibrary() {
    const std::string name = DecodeText(texts::kDumpLibrary);
    HMODULE library = GetModuleHandleA(name.c_str());
    if (library == nullptr) {
        library = LoadLibraryA(name.c_str());
    }
    if (library == nullptr) {
        return {nullptr, kDbgHelpNotFound};
    }
    gWriteDump =
        FindLibraryEntry<MiniDumpWriteDumpFunction>(library, DecodeText(texts::kDumpEntry).c_str());
    if (gWriteDump == nullptr) {
        return {nullptr, kDbgHelpMissingExports};
    }
    return {reinterpret_cast<void*>(gWriteDump), kDumpSucceeded};
}

// Returns 1 when the dump was written.
DWORD WriteDumpFile(DumpRequest& request) {
    HANDLE file = CreateFileW(request.fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        request.systemError = GetLastError();
        request.status = kOpenDumpFailed;
        return 0;
    }
    request.fileOpened = true;
    MINIDUMP_EXCEPTION_INFORMATION description{request.threadId, request.exception, TRUE};
    const BOOL written =
        gWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file,
                   static_cast<MINIDUMP_TYPE>(request.dumpType),
                   request.exception != nullptr ? &description : nullptr, nullptr, nullptr);
    // Taken before closing, so the code is the dump's own.
    request.systemError = GetLastError();
    CloseHandle(file);
    request.status = written ? kDumpSucceeded : kMiniDumpWriteDumpFailed;
    return written ? 1 : 0;
}

DWORD WINAPI DumpThread(void* parameter) {
    return WriteDumpFile(*static_cast<DumpRequest*>(parameter));
}

bool ReadableName(const wchar_t* fileName) {
    return !IsBadStringPtrW(fileName, kMaxDumpNameLength + 1) &&
           wcsnlen(fileName, kMaxDumpNameLength + 1) <= kMaxDumpNameLength;
}

}  // namespace

std::uint32_t WriteDump(const wchar_t* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception) {
    if (!ReadableName(fileName)) {
        return kBadParam;
    }
    if (exception != nullptr && IsBadReadPtr(exception, sizeof *exception)) {
        return kBadParam;
    }
    const std::uint32_t library = LoadDumpLibraryOnce(gLibrary, LoadDumpLibrary);
    if (library != kDumpSucceeded) {
        return library;
    }

    DumpRequest request;
    request.dumpType = dumpType;
    request.fileName = fileName;
    request.threadId = threadId;
    request.exception = exception;
    HANDLE thread = CreateThread(nullptr, 0, DumpThread, &request, 0, nullptr);
    if (thread == nullptr) {
        request.status = kDeathError;
        request.systemError = GetLastError();
    } else {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    SetLastError(request.systemError);
    return request.status;
}

std::uint32_t WriteDump(const char* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception) {
    if (IsBadStringPtrA(fileName, kMaxDumpNameLength + 1)) {
        return kBadParam;
    }
    const std::size_t length = strnlen(fileName, kMaxDumpNameLength + 1);
    if (length > kMaxDumpNameLength) {
        return kBadParam;
    }
    auto* wide =
        static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 2 * length + 2));
    if (wide == nullptr) {
        return kBadParam;
    }
    std::uint32_t status = kBadParam;
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, fileName, -1, wide,
                            static_cast<int>(length + 1)) != 0) {
        status = WriteDump(wide, dumpType, threadId, exception);
    }
    const DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, wide);
    SetLastError(error);
    return status;
}

DumpWorker::DumpWorker(const std::wstring& fileName, std::uint32_t dumpType) : fileName_(fileName) {
    request_.dumpType = dumpType;
    request_.fileName = fileName_.c_str();
    libraryStatus_ = ReadableName(request_.fileName)
                         ? LoadDumpLibraryOnce(gLibrary, LoadDumpLibrary)
                         : static_cast<std::uint32_t>(kBadParam);
    if (libraryStatus_ != kDumpSucceeded) {
        return;
    }
    start_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (start_ != nullptr && done_ != nullptr) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    if (thread_ == nullptr) {
        request_.systemError = GetLastError();
    }
}

DumpWorker::~DumpWorker() {
    if (thread_ != nullptr) {
        quit_ = true;
        SetEvent(start_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    for (HANDLE event : {start_, done_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

DWORD WINAPI DumpWorker::Run(void* parameter) {
    auto* worker = static_cast<DumpWorker*>(parameter);
    WaitForSingleObject(worker->start_, INFINITE);
    if (worker->quit_) {
        return 0;
    }
    const DWORD result = WriteDumpFile(worker->request_);
    // An event, not the thread's end: ending a thread takes the loader lock.
    SetEvent(worker->done_);
    return result;
}

void DumpWorker::Start(DWORD threadId, EXCEPTION_POINTERS* exception) {
    if (thread_ == nullptr || started_.exchange(true)) {
        return;
    }
    request_.threadId = threadId;
    request_.exception = exception;
    SetEvent(start_);
}

std::uint32_t DumpWorker::Wait() {
    if (libraryStatus_ != kDumpSucceeded) {
        return libraryStatus_;
    }
    if (thread_ == nullptr || !started_) {
        SetLastError(request_.systemError);
        return kDeathError;
    }
    const DWORD begin = GetTickCount();
    while (WaitForSingleObject(done_, 50) != WAIT_OBJECT_0) {
        if (!KeepWaitingForDump(GetTickCount() - begin, request_.fileOpened)) {
            SetLastError(ERROR_TIMEOUT);
            return kDeathError;
        }
    }
    SetLastError(request_.systemError);
    return request_.status;
}

}  // namespace velmora::diag
