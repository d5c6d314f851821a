#include "diag/win32/dump_writer.h"

#include <dbghelp.h>

#include <cstring>
#include <cwchar>

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

// Lives on the requesting thread's stack until the dump thread has ended.
struct DumpRequest {
    std::uint32_t dumpType = 0;
    const wchar_t* fileName = nullptr;
    DWORD threadId = 0;
    EXCEPTION_POINTERS* exception = nullptr;
    std::uint32_t status = 0;
    DWORD systemError = 0;
};

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

DWORD WINAPI DumpThread(void* parameter) {
    auto* request = static_cast<DumpRequest*>(parameter);
    HANDLE file = CreateFileW(request->fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        request->status = kOpenDumpFailed;
    } else {
        MINIDUMP_EXCEPTION_INFORMATION description{request->threadId, request->exception, TRUE};
        const BOOL written =
            gWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file,
                       static_cast<MINIDUMP_TYPE>(request->dumpType),
                       request->exception != nullptr ? &description : nullptr, nullptr, nullptr);
        request->status = written ? kDumpSucceeded : kMiniDumpWriteDumpFailed;
        // Taken before closing, so the code is the dump's own.
        request->systemError = GetLastError();
        CloseHandle(file);
        return request->status == kDumpSucceeded ? 1 : 0;
    }
    request->systemError = GetLastError();
    return 0;
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

}  // namespace velmora::diag
