// The EXIF orientation readers on any bytes, taken both as the contents of
// an APP1 segment and as the start of a JPEG file: they never read past them
// (the fuzzer's buffer is exactly that long) and always give one of the
// eight orientations.
#include <cstddef>
#include <cstdint>

#include "picture/pl_orientation.h"

namespace {

void CheckRange(velmora::picture::PLOrientation orientation) {
    using velmora::picture::PLOrientation;
    const auto value = static_cast<int>(orientation);
    if (value < static_cast<int>(PLOrientation::Upright) ||
        value > static_cast<int>(PLOrientation::RotateAnticlockwise)) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRange(velmora::picture::ReadExifOrientation(data, size));
    CheckRange(velmora::picture::ReadJpegOrientation(data, size));
    return 0;
}
