// Writes a minidump of this process with MiniDumpWriteDump from DBGHELP.DLL,
// loaded at run time, on a thread of its own so that the calling (faulting)
// thread is described from outside while it waits.
#pragma once

#include <windows.h>

#include <cstdint>

namespace velmora::diag {

// Returns a DumpStatus and leaves the dump attempt's system error code as the
// thread's last error. A name that is unreadable or longer than 260
// characters gives kBadParam; a failed load of the library is kept for the
// process, so later requests return its status at once.
std::uint32_t WriteDump(const char* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception);
std::uint32_t WriteDump(const wchar_t* fileName, std::uint32_t dumpType, DWORD threadId,
                        EXCEPTION_POINTERS* exception);

}  // namespace velmora::diag
