// The size a reader that scales while decoding makes a picture for a hint.
#pragma once

#include "picture/pl_jpeg_frame_size.h"
#include "picture/pl_picture_reader.h"

namespace velmora::picture {

// The picture's size fitted into the hint's box (or, when stretched, cut to
// it), never enlarged, at least 1 × 1; the picture's own without a box.
PLFrameSize DecodeSizeForHint(PLFrameSize picture, const PLDecodeHint* hint);

}  // namespace velmora::picture
