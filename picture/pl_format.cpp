#include "picture/pl_format.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "picture/pl_bytes.h"

namespace velmora::picture {

namespace {

using bytes::LoadU32LE;

bool StartsWith(const std::uint8_t* b, const char* text) {
    return std::memcmp(b, text, std::strlen(text)) == 0;
}

bool LooksLikeTga(const std::uint8_t* b) {
    const std::uint8_t mapType = b[1];
    const std::uint8_t imageType = b[2];
    const std::uint8_t mapEntrySize = b[7];
    const std::uint8_t depth = b[16];
    const bool typeOk = imageType <= 3 || (imageType >= 9 && imageType <= 11);
    const bool mapSizeOk = mapEntrySize == 0 || mapEntrySize == 8 || mapEntrySize == 15 ||
                           mapEntrySize == 16 || mapEntrySize == 24 || mapEntrySize == 32;
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && typeOk && mapSizeOk && depthOk;
}

}  // namespace

PLFormat RecognizeFormat(const std::uint8_t* header, std::size_t available, std::size_t totalSize) {
    std::array<std::uint8_t, kRecognitionBytes> b{};
    std::memcpy(b.data(), header, std::min(available, b.size()));
    const std::uint8_t* p = b.data();

    if (StartsWith(p, "BM") || StartsWith(p, "BA") || StartsWith(p, "CI") || StartsWith(p, "CP") ||
        StartsWith(p, "IC")) {
        return PLFormat::Bmp;
    }
    if (LooksLikeTga(p)) {
        return PLFormat::Tga;
    }
    const std::uint32_t first = LoadU32LE(p);
    if (first == 0x002A4949u || first == 0x2A004D4Du) {
        return PLFormat::Tiff;
    }
    if (first == 0x38464947u) {
        return PLFormat::Gif;
    }
    if (totalSize > 540) {
        const std::uint8_t* q = p + 522;
        if ((q[0] == 0x00 && q[1] == 0x11 && q[2] == 0x02 && q[3] == 0xFF) ||
            (q[0] == 0x00 && q[1] == 0x11 && q[2] == 0x01) ||
            (q[0] == 0x11 && q[1] == 0x01 && q[2] == 0x01 && q[3] == 0x00)) {
            return PLFormat::Pict;
        }
    }
    if (p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
        return PLFormat::Jpeg;
    }
    if (p[0] == 0x89 && p[1] == 0x50 && p[2] == 0x4E && p[3] == 0x47) {
        return PLFormat::Png;
    }
    if ((first == 0xC6D3D0C5u || first == 0xC5D0D3C6u) && LoadU32LE(p + 20) != 0 &&
        LoadU32LE(p + 24) != 0) {
        return PLFormat::EpsTiff;
    }
    if (p[0] == 0x0A && p[2] == 1) {
        return PLFormat::Pcx;
    }
    if (p[0] == 'P' && (p[1] == '2' || p[1] == '5')) {
        return PLFormat::Pgm;
    }
    if (p[0] == 'P' && (p[1] == '3' || p[1] == '6')) {
        return PLFormat::Ppm;
    }
    if (StartsWith(p, "8BPS")) {
        return PLFormat::Psd;
    }
    if (StartsWith(p, "RIFF") && StartsWith(p + 8, "WEBP")) {
        return PLFormat::WebP;
    }
    return PLFormat::Unknown;
}

bool HasBuiltInReader(PLFormat format) {
    switch (format) {
        case PLFormat::Bmp:
        case PLFormat::Tga:
        case PLFormat::Jpeg:
        case PLFormat::Png:
        case PLFormat::Pcx:
        case PLFormat::Psd:
        case PLFormat::WebP:
            return true;
        default:
            return false;
    }
}

}  // namespace velmora::picture
