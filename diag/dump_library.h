// The process-wide state of the library that writes minidumps: looked up once;
// a failed load is kept and never tried again.
#pragma once

#include <cstdint>

#include "diag/dump_status.h"

namespace velmora::diag {

struct DumpLibraryState {
    void* writeDump = nullptr;  // the entry point, once found
    std::uint32_t status = 0;   // 0 until the first load, then 2, 5 or 6
};

struct DumpLibraryLoad {
    void* writeDump = nullptr;
    std::uint32_t status = kDbgHelpNotFound;
};

// Returns kDumpSucceeded when the entry point is known (calling load() the
// first time only), else the status of the one failed load.
template <typename Load>
std::uint32_t LoadDumpLibraryOnce(DumpLibraryState& state, Load&& load) {
    if (state.writeDump != nullptr) {
        return kDumpSucceeded;
    }
    if (state.status != 0) {
        return state.status;
    }
    const DumpLibraryLoad loaded = load();
    state.writeDump = loaded.status == kDumpSucceeded ? loaded.writeDump : nullptr;
    // A load that claims success without an entry point counts as one without it.
    state.status = loaded.status == kDumpSucceeded && state.writeDump == nullptr
                       ? static_cast<std::uint32_t>(kDbgHelpMissingExports)
                       : loaded.status;
    return state.status;
}

}  // namespace velmora::diag
