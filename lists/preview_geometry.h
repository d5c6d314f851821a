// Sizes of the list editor's preview.
#pragma once

#include <cstdint>
#include <optional>

namespace velmora::lists {

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The largest size of the picture's shape that fits the box, at least one
// pixel each way; the picture's own size when the box has no area.
PictureSize FitPreview(PictureSize picture, PictureSize box);

// The size of the picture in its file, given the size it decoded to and the
// frame size its header names. Readers that decode smaller for the preview
// (JPEG at 1/2, 1/4 or 1/8, WebP and the system's decoders at any scale)
// keep the shape to within a pixel each way, and may turn the picture a
// quarter (its orientation tag); any other decoded size is the picture's own.
PictureSize FullPictureSize(PictureSize decoded, std::optional<PictureSize> header);

}  // namespace velmora::lists
