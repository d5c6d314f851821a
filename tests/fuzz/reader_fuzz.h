// The body of every single-reader fuzz target: any input either decodes or
// fails with a PLTextException, without reading or writing past a buffer and
// without allocating more than the raster limit. A picture that decodes is
// decoded again scaled row by row, which must give the bytes of scaling the
// full-size picture.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "picture/pl_input.h"
#include "picture/pl_picture_reader.h"
#include "picture/pl_raster.h"
#include "picture/pl_scale_filter.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture::fuzzing {

// Every target keeps rasters within 64 MB, set once per process.
inline void LimitRasters() {
    static const bool limited = [] {
        PLRaster::SetMaximumBytes(std::size_t{64} << 20);
        return true;
    }();
    (void)limited;
}

inline PLSize FitInto48(PLSize picture) {
    const double factor = std::min(48.0 / picture.width, 48.0 / picture.height);
    return {std::max(1, static_cast<int>(picture.width * factor)),
            std::max(1, static_cast<int>(picture.height * factor))};
}

inline bool SameBytes(const PLRaster& a, const PLRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() ||
        a.HasAlpha() != b.HasAlpha() || a.GetResolutionX() != b.GetResolutionX() ||
        a.GetResolutionY() != b.GetResolutionY()) {
        return false;
    }
    for (std::int32_t y = 0; y < a.GetHeight(); ++y) {
        if (std::memcmp(a.GetLine(y), b.GetLine(y), a.GetBytesPerLine()) != 0) {
            return false;
        }
    }
    return true;
}

// The full-size picture scaled as a caller scales it afterwards.
inline bool ScaleAfterwards(const PLRaster& full, PLMemoryRaster& scaled) {
    try {
        scaled.CreateCopy(full, 32);
        const PLSize fitted = FitInto48({full.GetWidth(), full.GetHeight()});
        scaled.ApplyRasterFilter(PLScaleFilter(fitted.width, fitted.height));
    } catch (const PLTextException&) {
        return false;  // the 32-bit copy may exceed the raster limit
    }
    return true;
}

template <typename Reader>
void CompareWithScaledDecode(const std::uint8_t* data, std::size_t size, const PLRaster& full) {
    PLMemoryRaster expected;
    if (!ScaleAfterwards(full, expected)) {
        return;
    }
    bool scaledWhileDecoding = false;
    PLDecodeHint hint(48, 48, true);
    hint.scaledSize = [&scaledWhileDecoding](PLSize picture) {
        scaledWhileDecoding = true;
        return FitInto48(picture);
    };
    PLMemoryInput input(data, size);
    PLMemoryRaster scaled;
    try {
        Reader().Decode(input, scaled, &hint);
    } catch (const PLTextException&) {
        __builtin_trap();  // what decodes at full size also decodes scaled
    }
    PLMemoryRaster fallback;
    if (!scaledWhileDecoding && !ScaleAfterwards(scaled, fallback)) {
        return;
    }
    if (!SameBytes(expected, scaledWhileDecoding ? scaled : fallback)) {
        __builtin_trap();
    }
}

template <typename Reader>
int FuzzReader(const std::uint8_t* data, std::size_t size) {
    LimitRasters();
    PLMemoryInput input(data, size);
    PLMemoryRaster raster;
    try {
        Reader().Decode(input, raster, nullptr);
    } catch (const PLTextException&) {
        return 0;
    }
    CompareWithScaledDecode<Reader>(data, size, raster);
    return 0;
}

}  // namespace velmora::picture::fuzzing
