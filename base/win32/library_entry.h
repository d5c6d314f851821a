// Looks up an entry point of a library loaded at run time, typed.
#pragma once

#include <windows.h>

namespace velmora {

template <typename Function>
Function FindLibraryEntry(HMODULE library, const char* name) {
    // Through the generic function type, which may be cast to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace velmora
