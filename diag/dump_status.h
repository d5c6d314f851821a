// Result codes of writing a minidump, each with the name the crash message
// gives as its cause.
#pragma once

#include <cstdint>

namespace velmora::diag {

enum DumpStatus : std::uint32_t {
    kInvalidError = 0,
    kDeathError = 1,  // the dump thread could not be started, or did not finish in time
    kDumpSucceeded = 2,
    kMiniDumpWriteDumpFailed = 3,
    kOpenDumpFailed = 4,
    kDbgHelpMissingExports = 5,
    kDbgHelpNotFound = 6,
    kBadParam = 7,
};

// "INVALID_ERROR" for 0 and any code outside 1..7.
const char* DumpStatusName(std::uint32_t status);

}  // namespace velmora::diag
