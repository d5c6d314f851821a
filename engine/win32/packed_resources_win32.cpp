#include <windows.h>

#include "engine/packed_resources.h"

namespace velmora::engine {

bool FindPackedResource(const char* name, const std::uint8_t*& data, std::size_t& size) {
    HMODULE module = GetModuleHandleA(nullptr);
    if (module == nullptr) {
        return false;
    }
    HRSRC found = FindResourceA(module, name, "RT_RCDATA");
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* locked = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (locked == nullptr) {
        return false;
    }
    data = static_cast<const std::uint8_t*>(locked);
    size = SizeofResource(module, found);
    return true;
}

}  // namespace velmora::engine
