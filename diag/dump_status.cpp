#include "diag/dump_status.h"

#include <array>

namespace velmora::diag {

const char* DumpStatusName(std::uint32_t status) {
    static constexpr std::array<const char*, 8> kNames = {
        "INVALID_ERROR",     "DEATH_ERROR",
        "DUMP_SUCCEEDED",    "MINIDUMPWRITEDUMP_FAILED",
        "OPEN_DUMP_FAILED",  "DBGHELP_MISSING_EXPORTS",
        "DBGHELP_NOT_FOUND", "BAD_PARAM"};
    return status < kNames.size() ? kNames[status] : kNames[kInvalidError];
}

}  // namespace velmora::diag
