#include "picture/pl_jpeg_frame_size.h"

namespace velmora::picture {

namespace {

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;

std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// SOF0 to SOF15 without DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and RST0 to RST7.
bool HasNoLength(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

std::optional<PLFrameSize> ReadJpegFrameSize(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || data[0] != kMarkerStart || data[1] != kStartOfImage) {
        return std::nullopt;
    }
    std::size_t at = 2;
    for (;;) {
        if (at >= size || data[at] != kMarkerStart) {
            return std::nullopt;
        }
        // Any number of fill bytes may stand before a marker.
        while (at < size && data[at] == kMarkerStart) {
            ++at;
        }
        if (at >= size) {
            return std::nullopt;
        }
        const std::uint8_t marker = data[at++];
        if (marker == kStartOfScan || marker == kEndOfImage || marker == kStartOfImage) {
            return std::nullopt;
        }
        if (HasNoLength(marker)) {
            continue;
        }
        if (size - at < 2) {
            return std::nullopt;
        }
        const std::uint16_t length = BigEndian16(data + at);
        if (length < 2 || size - at < length) {
            return std::nullopt;
        }
        if (IsFrameHeader(marker)) {
            // Precision, then height and width.
            if (length < 7) {
                return std::nullopt;
            }
            const std::uint16_t height = BigEndian16(data + at + 3);
            const std::uint16_t width = BigEndian16(data + at + 5);
            if (height == 0 || width == 0) {
                return std::nullopt;
            }
            return PLFrameSize{width, height};
        }
        at += length;
    }
}

}  // namespace velmora::picture
