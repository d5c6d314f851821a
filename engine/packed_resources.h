// The packed resources built into the program, found by name. On Windows
// they are module resources of the type named "RT_RCDATA"; natively they are
// a table compiled from the same files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::engine {

// False when there is no such resource.
bool FindPackedResource(const char* name, const std::uint8_t*& data, std::size_t& size);

}  // namespace velmora::engine
