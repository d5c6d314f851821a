#include "picture/pl_auto_decoder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "picture/pl_bitmap_file_reader.h"
#include "picture/pl_format.h"
#include "picture/pl_input.h"
#include "picture/pl_jpeg_reader.h"
#include "picture/pl_pcx_reader.h"
#include "picture/pl_png_reader.h"
#include "picture/pl_psd_reader.h"
#include "picture/pl_raster.h"
#include "picture/pl_targa_reader.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"
#include "picture/pl_webp_reader.h"

namespace velmora::picture {

namespace {

std::string FormatPointer(const char* format, const void* pointer) {
    char text[128];
    std::snprintf(text, sizeof text, format, pointer);
    return text;
}

}  // namespace

void PLAutoDecoder::DecodeFileToRaster(const std::string& path, PLRaster& raster, int bitsPerPixel,
                                       const PLDecodeHint* hint) {
    PLTrace(1, "--- Decoding file " + path + ". ---\n");
    PLFileInput input(path);
    Decode(input, path, raster, bitsPerPixel, hint);
}

void PLAutoDecoder::DecodeMemoryToRaster(const std::uint8_t* data, std::size_t size,
                                         PLRaster& raster, int bitsPerPixel,
                                         const PLDecodeHint* hint) {
    PLTrace(1, FormatPointer("--- Decoding from memory at %p. ---\n", data));
    if (data == nullptr && size > 0) {
        PLRaiseError(pl_error::OpenFailed, FormatPointer("Reading from memory at %p failed", data));
    }
    PLMemoryInput input(data, size);
    DecodeInputToRaster(input, raster, bitsPerPixel, hint);
}

void PLAutoDecoder::DecodeInputToRaster(PLInput& input, PLRaster& raster, int bitsPerPixel,
                                        const PLDecodeHint* hint) {
    Decode(input, std::string(), raster, bitsPerPixel, hint);
}

void PLAutoDecoder::Decode(PLInput& input, const std::string& path, PLRaster& raster,
                           int bitsPerPixel, const PLDecodeHint* hint) {
    const std::size_t available = std::min(input.GetRemaining(), kRecognitionBytes);
    const PLFormat format =
        RecognizeFormat(input.PeekNBytes(available), available, input.GetFileSize());

    std::unique_ptr<PLPictureReader> reader;
    // Every file no built-in reader claims goes to the fallback when there is one.
    const bool leftToFallback = !HasBuiltInReader(format) && fallback_ != nullptr;
    switch (leftToFallback ? PLFormat::Unknown : format) {
        case PLFormat::Bmp:
            PLTrace(2, "Windows bitmap recognized.\n");
            reader = std::make_unique<PLBitmapFileReader>();
            break;
        case PLFormat::Tga:
            PLTrace(2, "TGA file recognized.\n");
            reader = std::make_unique<PLTargaReader>();
            break;
        case PLFormat::Jpeg:
            PLTrace(2, "JPEG file recognized.\n");
            reader = std::make_unique<PLJpegReader>();
            break;
        case PLFormat::Png:
            PLTrace(2, "PNG file recognized.\n");
            reader = std::make_unique<PLPngReader>();
            break;
        case PLFormat::Pcx:
            PLTrace(2, "PCX file recognized.\n");
            reader = std::make_unique<PLPcxReader>();
            break;
        case PLFormat::Psd:
            PLTrace(2, "PSD file recognized.\n");
            reader = std::make_unique<PLPsdReader>();
            break;
        case PLFormat::WebP:
            PLTrace(2, "WebP file recognized.\n");
            reader = std::make_unique<PLWebPReader>();
            break;
        case PLFormat::Unknown:
            if (leftToFallback) {
                PLTrace(2, "Left to the system's decoders.\n");
                break;
            }
            PLRaiseError(pl_error::UnknownFileType, "Unknown file type.");
        default:
            PLRaiseError(pl_error::NotSupported, "Library not compiled for this file type.");
    }

    // Rows scaled while decoding come out at 32 bits; for any other depth the
    // picture is decoded at full size.
    PLDecodeHint fullSize;
    if (hint != nullptr && hint->scaledSize && bitsPerPixel != 32) {
        fullSize = PLDecodeHint(hint->boxWidth, hint->boxHeight, hint->fitKeepingAspect);
        hint = &fullSize;
    }
    raster.Lock();
    try {
        if (reader) {
            reader->Decode(input, raster, hint);
        } else {
            fallback_->Decode(input, path, raster, hint);
        }
    } catch (...) {
        raster.Unlock();
        throw;
    }
    raster.Unlock();

    if (bitsPerPixel <= 0 || bitsPerPixel == raster.GetBitsPerPixel()) {
        return;
    }
    if (raster.GetBitsPerPixel() > bitsPerPixel) {
        PLRaiseError(pl_error::NotSupported, "Image bit depth doesn't match request.");
    }
    PLMemoryRaster converted;
    converted.CreateCopy(raster, static_cast<std::uint16_t>(bitsPerPixel));
    raster.CreateCopy(converted);
}

}  // namespace velmora::picture
