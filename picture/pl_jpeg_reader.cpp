#include "picture/pl_jpeg_reader.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

// libjpeg's header needs FILE and size_t declared first.
#include <jpeglib.h>

#include <jerror.h>

#include "picture/pl_input.h"
#include "picture/pl_orientation.h"
#include "picture/pl_oriented_rows.h"
#include "picture/pl_raster.h"
#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

// libjpeg leaves by longjmp from error_exit. Everything here is plain data,
// and the frames it jumps to own nothing with a destructor.
struct JpegErrorManager {
    jpeg_error_mgr manager;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct JpegSourceManager {
    jpeg_source_mgr manager;
    const JOCTET* data;
    std::size_t size;
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void OnJpegErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnJpegOutputMessage(j_common_ptr) {}

void OnInitSource(j_decompress_ptr) {}

// The data has run out: warn and give libjpeg an end-of-image marker, so a
// truncated file decodes as far as it goes.
boolean OnFillInputBuffer(j_decompress_ptr info) {
    WARNMS(info, JWRN_JPEG_EOF);
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}

void OnSkipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) {
        return;
    }
    jpeg_source_mgr* source = info->src;
    if (static_cast<std::size_t>(count) > source->bytes_in_buffer) {
        OnFillInputBuffer(info);
        return;
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void OnTermSource(j_decompress_ptr) {}

struct JpegProgress {
    jpeg_progress_mgr manager;
    PLInput* input;
};

void OnProgress(j_common_ptr info) {
    auto* progress = reinterpret_cast<JpegProgress*>(info->progress);
    const jpeg_progress_mgr& m = progress->manager;
    if (m.pass_limit <= 0 || m.total_passes <= 0) {
        return;
    }
    const double done =
        (m.completed_passes + static_cast<double>(m.pass_counter) / m.pass_limit) / m.total_passes;
    progress->input->NotifyProgress(std::clamp(done, 0.0, 1.0));
}

struct JpegDecoder {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
    JpegSourceManager source;
    JpegProgress progress;
    bool created;
};

// Sets up and reads the header. Its own setjmp frame.
bool ReadJpegHeader(JpegDecoder* d) {
    if (setjmp(d->errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d->info);
    d->created = true;
    d->info.src = &d->source.manager;
    d->info.progress = &d->progress.manager;
    jpeg_read_header(&d->info, TRUE);
    return true;
}

// Picks the smallest libjpeg scaling that still covers what the caller needs
// of the picture as seen.
void ChooseScale(JpegDecoder* d, const PLDecodeHint* hint, PLOrientation orientation) {
    d->info.scale_num = 1;
    d->info.scale_denom = 1;
    if (hint == nullptr || hint->boxWidth <= 0 || hint->boxHeight <= 0) {
        return;
    }
    const bool swap = SwapsSides(orientation);
    const double width = swap ? d->info.image_height : d->info.image_width;
    const double height = swap ? d->info.image_width : d->info.image_height;
    double neededWidth = hint->boxWidth;
    double neededHeight = hint->boxHeight;
    if (hint->fitKeepingAspect) {
        const double factor = std::min(hint->boxWidth / width, hint->boxHeight / height);
        neededWidth = width * factor;
        neededHeight = height * factor;
    }
    for (unsigned denominator : {8u, 4u, 2u}) {
        const double scaledWidth = std::ceil(width / denominator);
        const double scaledHeight = std::ceil(height / denominator);
        if (scaledWidth >= std::ceil(neededWidth - 1e-6) &&
            scaledHeight >= std::ceil(neededHeight - 1e-6)) {
            d->info.scale_denom = denominator;
            return;
        }
    }
}

bool StartJpegDecompress(JpegDecoder* d) {
    if (setjmp(d->errors.jump) != 0) {
        return false;
    }
    jpeg_calc_output_dimensions(&d->info);
    jpeg_start_decompress(&d->info);
    return true;
}

// C, M, Y, K samples to B, G, R, 255. Files with the Adobe marker hold
// inverted samples (255 - ink); others hold the ink itself.
void CmykRowToBgra(const std::uint8_t* cmyk, JDIMENSION width, bool inverted, std::uint8_t* out) {
    const unsigned flip = inverted ? 0 : 255;
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, out += 4) {
        const unsigned c = cmyk[0] ^ flip;
        const unsigned m = cmyk[1] ^ flip;
        const unsigned y = cmyk[2] ^ flip;
        const unsigned k = cmyk[3] ^ flip;
        out[PL_BLUE] = static_cast<std::uint8_t>(y * k / 255);
        out[PL_GREEN] = static_cast<std::uint8_t>(m * k / 255);
        out[PL_RED] = static_cast<std::uint8_t>(c * k / 255);
        out[PL_ALPHA] = 255;
    }
}

// Reads rows straight into the places the oriented rows give (B, G, R, X or
// grey bytes), or, for CMYK pictures, through scratch and converts.
bool ReadJpegRows(JpegDecoder* d, PLOrientedRows* rows, std::uint8_t* scratch) {
    if (setjmp(d->errors.jump) != 0) {
        return false;
    }
    const bool cmyk = d->info.out_color_space == JCS_CMYK;
    const bool inverted = d->info.saw_Adobe_marker != FALSE;
    const JDIMENSION width = d->info.output_width;
    while (d->info.output_scanline < d->info.output_height) {
        const auto row = static_cast<std::int32_t>(d->info.output_scanline);
        std::uint8_t* line = rows->RowBuffer(row);
        JSAMPROW target = cmyk ? scratch : line;
        if (jpeg_read_scanlines(&d->info, &target, 1) != 1) {
            break;
        }
        d->progress.input->ConsumedUpTo(d->info.src->next_input_byte);
        if (cmyk) {
            CmykRowToBgra(scratch, width, inverted, line);
        }
        rows->RowDone(row);
    }
    jpeg_finish_decompress(&d->info);
    return true;
}

class JpegDecoderGuard {
public:
    explicit JpegDecoderGuard(JpegDecoder& decoder) : decoder_(decoder) {}
    JpegDecoderGuard(const JpegDecoderGuard&) = delete;
    JpegDecoderGuard& operator=(const JpegDecoderGuard&) = delete;
    ~JpegDecoderGuard() {
        if (decoder_.created) {
            jpeg_destroy_decompress(&decoder_.info);
        }
    }

private:
    JpegDecoder& decoder_;
};

[[noreturn]] void ThrowJpegError(const JpegDecoder& d) {
    throw PLTextException(pl_error::NotSupported, std::string(d.errors.message) + "\n");
}

std::int32_t DensityToDpi(unsigned density) {
    return density <= 1 ? 72 : static_cast<std::int32_t>(density);
}

// The raster at the size as seen, its sides and densities swapped for the
// orientations that turn the picture a quarter; the rows are placed turned.
void CreateSeenRaster(const JpegDecoder& d, PLOrientation orientation, bool grey,
                      PLRaster& raster) {
    auto width = static_cast<std::int32_t>(d.info.output_width);
    auto height = static_cast<std::int32_t>(d.info.output_height);
    std::int32_t dpiX = DensityToDpi(d.info.X_density);
    std::int32_t dpiY = DensityToDpi(d.info.Y_density);
    if (SwapsSides(orientation)) {
        std::swap(width, height);
        std::swap(dpiX, dpiY);
    }
    raster.Create(width, height, grey ? 8 : 32, false);
    raster.SetResolution(dpiX, dpiY);
}

}  // namespace

void PLJpegReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    // Held on the heap so the big libjpeg structures stay off small stacks.
    auto decoder = std::make_unique<JpegDecoder>();
    JpegDecoder* d = decoder.get();
    std::memset(d, 0, sizeof *d);
    JpegDecoderGuard guard(*d);

    d->info.err = jpeg_std_error(&d->errors.manager);
    d->errors.manager.error_exit = OnJpegErrorExit;
    d->errors.manager.output_message = OnJpegOutputMessage;
    d->source.manager.init_source = OnInitSource;
    d->source.manager.fill_input_buffer = OnFillInputBuffer;
    d->source.manager.skip_input_data = OnSkipInputData;
    d->source.manager.resync_to_restart = jpeg_resync_to_restart;
    d->source.manager.term_source = OnTermSource;
    d->source.manager.next_input_byte = input.RemainingBytes();
    d->source.manager.bytes_in_buffer = input.GetRemaining();
    d->progress.manager.progress_monitor = OnProgress;
    d->progress.input = &input;

    const PLOrientation orientation =
        ReadJpegOrientation(input.RemainingBytes(), input.GetRemaining());
    if (!ReadJpegHeader(d)) {
        ThrowJpegError(*d);
    }
    d->info.dct_method = JDCT_FLOAT;
    d->info.do_fancy_upsampling = FALSE;
    const bool grey = d->info.jpeg_color_space == JCS_GRAYSCALE;
    if (grey) {
        d->info.out_color_space = JCS_GRAYSCALE;
    } else if (d->info.jpeg_color_space == JCS_CMYK || d->info.jpeg_color_space == JCS_YCCK) {
        d->info.out_color_space = JCS_CMYK;
    } else {
        d->info.out_color_space = JCS_EXT_BGRX;
    }
    ChooseScale(d, hint, orientation);
    if (!StartJpegDecompress(d)) {
        ThrowJpegError(*d);
    }

    CreateSeenRaster(*d, orientation, grey, raster);
    std::vector<std::uint8_t> scratch;
    if (d->info.out_color_space == JCS_CMYK) {
        scratch.resize(static_cast<std::size_t>(d->info.output_width) * 4);
    }
    PLOrientedRows rows(raster, orientation);
    if (!ReadJpegRows(d, &rows, scratch.data())) {
        ThrowJpegError(*d);
    }
    rows.Finish();
}

}  // namespace velmora::picture
