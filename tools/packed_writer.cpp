// Wrapping records as packed resources (packed_writer.h).
#include "tools/packed_writer.h"

#include <zlib.h>

namespace velmora::tools {

bool WritePacked(engine::Serializable& object, std::vector<std::uint8_t>& packed) {
    std::size_t size = 0;
    if (FAILED(object.RecordSize(size))) {
        return false;
    }
    std::vector<std::uint8_t> record(size);
    if (FAILED(object.Serialize(engine::SerializeDirection::Write, record.data(), record.size(),
                                nullptr, false))) {
        return false;
    }
    uLongf compressedSize = compressBound(static_cast<uLong>(size));
    std::vector<std::uint8_t> compressed(compressedSize);
    // zlib's default level: streams start with 78 9C.
    if (compress(compressed.data(), &compressedSize, record.data(), static_cast<uLong>(size)) !=
        Z_OK) {
        return false;
    }
    packed = {0x08,
              0x01,
              0x01,
              0xCC,
              static_cast<std::uint8_t>(size),
              static_cast<std::uint8_t>(size >> 8),
              static_cast<std::uint8_t>(size >> 16),
              static_cast<std::uint8_t>(size >> 24)};
    packed.insert(packed.end(), compressed.begin(), compressed.begin() + compressedSize);
    return true;
}

}  // namespace velmora::tools
