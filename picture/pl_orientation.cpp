#include "picture/pl_orientation.h"

#include <algorithm>
#include <cstring>

#include "picture/pl_bytes.h"

namespace velmora::picture {

namespace {

constexpr std::uint8_t kExifName[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kTiffMagic = 42;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint64_t kTiffHeaderBytes = 8;
constexpr std::uint64_t kEntryBytes = 12;

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kApp1 = 0xE1;

// TEM and RST0 to RST7 stand alone, without a length.
bool HasNoLength(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The TIFF block of the segment, read in its own byte order. Every load is
// checked against the block's end.
class TiffBlock {
public:
    TiffBlock(const std::uint8_t* data, std::size_t size, bool bigEndian)
        : data_(data), size_(size), bigEndian_(bigEndian) {}

    bool Holds(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= size_ && bytes <= size_ - offset;
    }
    std::uint16_t U16(std::uint64_t offset) const {
        return bigEndian_ ? bytes::LoadU16BE(data_ + offset) : bytes::LoadU16LE(data_ + offset);
    }
    std::uint32_t U32(std::uint64_t offset) const {
        return bigEndian_ ? bytes::LoadU32BE(data_ + offset) : bytes::LoadU32LE(data_ + offset);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool bigEndian_;
};

// The value of one orientation entry; anything but a single SHORT or LONG
// of 1 to 8 counts as damaged.
PLOrientation OrientationOfEntry(const TiffBlock& tiff, std::uint64_t entry) {
    const std::uint16_t type = tiff.U16(entry + 2);
    if (tiff.U32(entry + 4) != 1) {
        return PLOrientation::Upright;
    }
    std::uint32_t value = 0;
    if (type == kTypeShort) {
        value = tiff.U16(entry + 8);
    } else if (type == kTypeLong) {
        value = tiff.U32(entry + 8);
    }
    if (value < 1 || value > 8) {
        return PLOrientation::Upright;
    }
    return static_cast<PLOrientation>(value);
}

}  // namespace

PLOrientation ReadExifOrientation(const std::uint8_t* segment, std::size_t size) {
    if (segment == nullptr || size < sizeof kExifName + kTiffHeaderBytes ||
        std::memcmp(segment, kExifName, sizeof kExifName) != 0) {
        return PLOrientation::Upright;
    }
    const std::uint8_t* start = segment + sizeof kExifName;
    bool bigEndian = false;
    if (start[0] == 'M' && start[1] == 'M') {
        bigEndian = true;
    } else if (start[0] != 'I' || start[1] != 'I') {
        return PLOrientation::Upright;
    }
    const TiffBlock tiff(start, size - sizeof kExifName, bigEndian);
    if (tiff.U16(2) != kTiffMagic) {
        return PLOrientation::Upright;
    }
    const std::uint64_t directory = tiff.U32(4);
    if (directory < kTiffHeaderBytes || !tiff.Holds(directory, 2)) {
        return PLOrientation::Upright;
    }
    // Only the first IFD is read, so chains of IFDs (and loops in them) are
    // never followed. A count beyond the segment reads the entries it holds.
    const unsigned entries = tiff.U16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + i * kEntryBytes;
        if (!tiff.Holds(entry, kEntryBytes)) {
            break;
        }
        if (tiff.U16(entry) == kOrientationTag) {
            return OrientationOfEntry(tiff, entry);
        }
    }
    return PLOrientation::Upright;
}

PLOrientation ReadJpegOrientation(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 2 || data[0] != kMarkerStart || data[1] != kStartOfImage) {
        return PLOrientation::Upright;
    }
    std::size_t at = 2;
    while (at < size && data[at] == kMarkerStart) {
        // Any number of fill bytes may stand before a marker.
        while (at < size && data[at] == kMarkerStart) {
            ++at;
        }
        if (at >= size) {
            break;
        }
        const std::uint8_t marker = data[at++];
        if (marker == kStartOfScan || marker == kEndOfImage || marker == kStartOfImage) {
            break;
        }
        if (HasNoLength(marker)) {
            continue;
        }
        if (size - at < 2) {
            break;
        }
        const std::size_t length = bytes::LoadU16BE(data + at);
        if (length < 2) {
            break;
        }
        const std::uint8_t* contents = data + at + 2;
        const std::size_t held = std::min(length - 2, size - at - 2);
        if (marker == kApp1 && held >= sizeof kExifName &&
            std::memcmp(contents, kExifName, sizeof kExifName) == 0) {
            return ReadExifOrientation(contents, held);
        }
        at += length;
    }
    return PLOrientation::Upright;
}

}  // namespace velmora::picture
