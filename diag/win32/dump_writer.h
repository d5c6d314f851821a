// Writes a minidump of this process with MiniDumpWriteDump from DBGHELP.DLL,
// loaded at run time, on a thread of its own so that the calling (faulting)
// thread is described from outside while it waits.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace velmora::diag {

// Returns a DumpStatus and leaves the dump attempt's system error code as the
// thread's last error. A name that is unreadable or longer than 260
// characters gives kBadParam; a failed load of the library is kept for the
// process, so later requests return its status at once.
std::uint32_t WriteDump(const char* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception);
std::uint32_t WriteDump(const wchar_t* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception);

// What one dump thread is asked to do and what it found.
struct DumpRequest {
    std::uint32_t dumpType = 0;
    const wchar_t* fileName = nullptr;
    DWORD threadId = 0;
    EXCEPTION_POINTERS* exception = nullptr;
    std::uint32_t status = 0;
    DWORD systemError = 0;
    std::atomic<bool> fileOpened{false};
};

// The dump thread of the crash filter, made while the process is healthy:
// library loaded, thread started and parked, file name held. Asking it for
// the dump needs neither the heap nor the loader lock, and the wait for it is
// bounded (see KeepWaitingForDump).
class DumpWorker {
public:
    DumpWorker(const std::wstring& fileName, std::uint32_t dumpType);
    DumpWorker(const DumpWorker&) = delete;
    DumpWorker& operator=(const DumpWorker&) = delete;
    // Ends the parked thread; never called once a dump was asked for.
    ~DumpWorker();

    // Asks for the dump and returns at once; only the first call counts.
    void Start(DWORD threadId, EXCEPTION_POINTERS* exception);

    // The dump's status once the thread has finished; kDeathError when it
    // could not be started or did not finish in time, the library's status
    // when that failed to load. Leaves the system error code as last error.
    std::uint32_t Wait();

private:
    static DWORD WINAPI Run(void* parameter);

    std::wstring fileName_;
    DumpRequest request_;
    std::uint32_t libraryStatus_ = 0;
    HANDLE start_ = nullptr;
    HANDLE done_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> started_{false};
    std::atomic<bool> quit_{false};
};

}  // namespace velmora::diag
