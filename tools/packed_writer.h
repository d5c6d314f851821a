// Wraps a record the way the program's packed resources are stored:
// 08 01 01 CC, the inflated size, then a zlib stream.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/serializable.h"

namespace velmora::tools {

// False when the object cannot write its record.
bool WritePacked(engine::Serializable& object, std::vector<std::uint8_t>& packed);

}  // namespace velmora::tools
