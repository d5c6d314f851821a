// Helpers for the engine's tests: packed resources as bytes, and sample
// pictures written to a temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/packed_resources.h"

namespace velmora::engine::testing {

inline std::vector<std::uint8_t> PackedBytes(const char* name) {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!FindPackedResource(name, data, size)) {
        return {};
    }
    return std::vector<std::uint8_t>(data, data + size);
}

}  // namespace velmora::engine::testing
