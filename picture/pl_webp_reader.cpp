#include "picture/pl_webp_reader.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>

#include "picture/pl_decode_size.h"
#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

struct Bitstream {
    const std::uint8_t* data;
    std::size_t size;
};

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};
using DemuxPtr = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

[[noreturn]] void ThrowStatus(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_OUT_OF_MEMORY:
            PLRaiseError(pl_error::OutOfMemory, "Out of memory decoding WebP picture.");
        case VP8_STATUS_UNSUPPORTED_FEATURE:
            PLRaiseError(pl_error::NotSupported, "WebP feature not supported.");
        case VP8_STATUS_NOT_ENOUGH_DATA:
            PLRaiseError(pl_error::EndOfFile, "End of file reached while decoding.\n");
        default:
            PLRaiseError(pl_error::FormatError, "WebP format error.");
    }
}

// The bitstream of the first frame: the whole file for a still picture, the
// first frame's own rectangle for an animation (the canvas around it, which
// later frames would paint, is left out). The demuxer, when one was needed,
// owns nothing the returned bytes depend on: they point into data.
Bitstream FirstFrame(const std::uint8_t* data, std::size_t size, bool animated) {
    if (!animated) {
        return {data, size};
    }
    const WebPData whole{data, size};
    DemuxPtr demuxer(WebPDemux(&whole));
    WebPIterator frame{};
    if (!demuxer || !WebPDemuxGetFrame(demuxer.get(), 1, &frame)) {
        PLRaiseError(pl_error::FormatError, "WebP animation without a readable first frame.");
    }
    const Bitstream first{frame.fragment.bytes, frame.fragment.size};
    WebPDemuxReleaseIterator(&frame);
    return first;
}

// Refuses a picture whose full size would not fit the raster limit before
// libwebp allocates anything for it: its work buffers grow with that size.
void CheckFullSize(const WebPBitstreamFeatures& features) {
    const auto pixels =
        static_cast<std::uint64_t>(features.width) * static_cast<std::uint64_t>(features.height);
    if (features.width < 1 || features.height < 1 || pixels > PLRaster::GetMaximumBytes() / 4) {
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating bitmap.");
    }
}

// Points libwebp's output at the raster's rows when they lie evenly spaced
// in one block (both raster kinds do; bottom-up rows decode flipped).
bool UseRasterRows(PLRaster& raster, WebPDecoderConfig& config) {
    const std::int32_t height = raster.GetHeight();
    const std::size_t rowBytes = raster.GetBytesPerLine();
    std::uint8_t* top = raster.GetLine(0);
    std::uint8_t* bottom = raster.GetLine(height - 1);
    const bool upward = height > 1 && bottom < top;
    const std::ptrdiff_t step = height > 1 ? (raster.GetLine(1) - top) : 0;
    const std::size_t stride =
        height > 1 ? static_cast<std::size_t>(upward ? -step : step) : rowBytes;
    if (stride < rowBytes) {
        return false;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        if (raster.GetLine(y) != top + step * y) {
            return false;
        }
    }
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = upward ? bottom : top;
    config.output.u.RGBA.stride = static_cast<int>(stride);
    config.output.u.RGBA.size = stride * static_cast<std::size_t>(height - 1) + rowBytes;
    config.options.flip = upward ? 1 : 0;
    return true;
}

void CopyFromDecoderBuffer(const WebPDecBuffer& output, PLRaster& raster) {
    const std::size_t rowBytes = raster.GetBytesPerLine();
    for (std::int32_t y = 0; y < raster.GetHeight(); ++y) {
        std::copy_n(output.u.RGBA.rgba + static_cast<std::size_t>(output.u.RGBA.stride) * y,
                    rowBytes, raster.GetLine(y));
    }
}

class DecoderConfig {
public:
    DecoderConfig() {
        if (!WebPInitDecoderConfig(&config_)) {
            PLRaiseError(pl_error::NotSupported, "WebP decoder version mismatch.");
        }
    }
    DecoderConfig(const DecoderConfig&) = delete;
    DecoderConfig& operator=(const DecoderConfig&) = delete;
    ~DecoderConfig() { WebPFreeDecBuffer(&config_.output); }
    WebPDecoderConfig& Get() { return config_; }

private:
    WebPDecoderConfig config_{};
};

}  // namespace

std::optional<PLFrameSize> ReadWebPFrameSize(const std::uint8_t* data, std::size_t size) {
    WebPBitstreamFeatures features{};
    if (data == nullptr || WebPGetFeatures(data, size, &features) != VP8_STATUS_OK) {
        return std::nullopt;
    }
    if (features.has_animation) {
        try {
            const Bitstream first = FirstFrame(data, size, true);
            if (WebPGetFeatures(first.data, first.size, &features) != VP8_STATUS_OK) {
                return std::nullopt;
            }
        } catch (const PLTextException&) {
            return std::nullopt;
        }
    }
    return PLFrameSize{features.width, features.height};
}

void PLWebPReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    const std::size_t size = input.GetRemaining();
    const std::uint8_t* data = input.PeekNBytes(size);
    WebPBitstreamFeatures features{};
    VP8StatusCode status = WebPGetFeatures(data, size, &features);
    if (status != VP8_STATUS_OK) {
        ThrowStatus(status);
    }
    const Bitstream frame = FirstFrame(data, size, features.has_animation != 0);
    if (features.has_animation) {
        status = WebPGetFeatures(frame.data, frame.size, &features);
        if (status != VP8_STATUS_OK) {
            ThrowStatus(status);
        }
    }
    CheckFullSize(features);

    const PLFrameSize target = DecodeSizeForHint({features.width, features.height}, hint);
    raster.Create(target.width, target.height, 32, features.has_alpha != 0);

    DecoderConfig holder;
    WebPDecoderConfig& config = holder.Get();
    config.output.colorspace = MODE_BGRA;
    if (target.width != features.width || target.height != features.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = target.width;
        config.options.scaled_height = target.height;
    }
    const bool direct = UseRasterRows(raster, config);
    status = WebPDecode(frame.data, frame.size, &config);
    if (status != VP8_STATUS_OK) {
        ThrowStatus(status);
    }
    if (!direct) {
        CopyFromDecoderBuffer(config.output, raster);
    }
    input.Skip(size);
    input.NotifyProgress(1.0);
}

}  // namespace velmora::picture
