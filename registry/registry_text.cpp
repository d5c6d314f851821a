#include "registry/registry_text.h"

#include <cstring>

namespace velmora::registry {

std::optional<std::string_view> TextInValueData(const char* data, std::uint32_t dataSize,
                                                std::uint32_t bufferSize) {
    if (dataSize > bufferSize) {
        return std::nullopt;
    }
    if (dataSize == 0) {
        return bufferSize > 0 ? std::optional<std::string_view>("") : std::nullopt;
    }
    if (const void* end = std::memchr(data, '\0', dataSize)) {
        return std::string_view(data, static_cast<const char*>(end) - data);
    }
    if (dataSize < bufferSize) {
        return std::string_view(data, dataSize);
    }
    return std::nullopt;
}

}  // namespace velmora::registry
