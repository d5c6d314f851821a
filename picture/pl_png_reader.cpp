#include "picture/pl_png_reader.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstring>

#include "picture/pl_input.h"
#include "picture/pl_raster.h"
#include "picture/pl_row_target.h"
#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"

namespace velmora::picture {

namespace {

// Everything libpng's callbacks touch. Plain data only: libpng leaves by
// longjmp, which must not skip a destructor.
struct PngContext {
    png_structp png;
    png_infop info;
    PLInput* input;
    int fileBitDepth;  // before the transforms
    char message[256];
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* context = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(context->message, sizeof context->message, "%s",
                  message != nullptr ? message : "libpng error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep target, png_size_t length) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    if (length > context->input->GetRemaining()) {
        png_error(png, "Read beyond end of data requested.");
    }
    std::memcpy(target, context->input->ReadNBytes(length), length);
}

// The two places where libpng runs; each is its own setjmp frame.
bool ReadPngInfo(PngContext* context) {
    if (setjmp(png_jmpbuf(context->png)) != 0) {
        return false;
    }
    png_set_read_fn(context->png, context, OnPngRead);
    png_read_info(context->png, context->info);
    const png_byte colourType = png_get_color_type(context->png, context->info);
    const png_byte bitDepth = png_get_bit_depth(context->png, context->info);
    context->fileBitDepth = bitDepth;
    if (bitDepth == 16) {
        png_set_strip_16(context->png);
    }
    if (bitDepth < 8) {
        png_set_packing(context->png);
    }
    switch (colourType) {
        case PNG_COLOR_TYPE_RGB:
            png_set_bgr(context->png);
            png_set_filler(context->png, 0xFF, PNG_FILLER_AFTER);
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            png_set_gray_to_rgb(context->png);
            png_set_bgr(context->png);
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            png_set_bgr(context->png);
            break;
        default:
            break;
    }
    png_set_interlace_handling(context->png);
    png_read_update_info(context->png, context->info);
    return true;
}

bool ReadPngImage(PngContext* context, png_bytepp rows) {
    if (setjmp(png_jmpbuf(context->png)) != 0) {
        return false;
    }
    png_read_image(context->png, rows);
    png_read_end(context->png, nullptr);
    return true;
}

// Row by row, for a picture that is scaled while it is read.
bool ReadPngRows(PngContext* context, PLRowTarget* target, std::int32_t height) {
    if (setjmp(png_jmpbuf(context->png)) != 0) {
        return false;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        png_read_row(context->png, target->Line(y), nullptr);
        target->LineDone(y);
    }
    png_read_end(context->png, nullptr);
    return true;
}

class PngStructs {
public:
    explicit PngStructs(PngContext& context) : context_(context) {}
    PngStructs(const PngStructs&) = delete;
    PngStructs& operator=(const PngStructs&) = delete;
    ~PngStructs() {
        if (context_.png != nullptr) {
            png_destroy_read_struct(&context_.png,
                                    context_.info != nullptr ? &context_.info : nullptr, nullptr);
        }
    }

private:
    PngContext& context_;
};

[[noreturn]] void ThrowPngError(const PngContext& context) {
    PLRaiseError(pl_error::FormatError, context.message);
}

// Makes the raster for the transformed rows: 8-bit with a palette for grey
// and palette pictures, 32-bit otherwise.
void CreateRaster(const PngContext& context, PLRowTarget& target) {
    const auto width = static_cast<std::int32_t>(png_get_image_width(context.png, context.info));
    const auto height = static_cast<std::int32_t>(png_get_image_height(context.png, context.info));
    const png_byte colourType = png_get_color_type(context.png, context.info);
    const int fileDepth = context.fileBitDepth;

    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY: {
            target.Create(width, height, 8, false);
            PLRaster& raster = target.Picture();
            const int entries = 1 << (fileDepth > 8 ? 8 : fileDepth);
            for (int i = 0; i < entries; ++i) {
                const auto grey = static_cast<std::uint8_t>(i * 255 / (entries - 1));
                raster.SetPaletteEntry(i, grey, grey, grey, 255);
            }
            break;
        }
        case PNG_COLOR_TYPE_PALETTE: {
            target.Create(width, height, 8, false);
            PLRaster& raster = target.Picture();
            png_colorp palette = nullptr;
            int count = 0;
            if (png_get_PLTE(context.png, context.info, &palette, &count) != 0) {
                for (int i = 0; i < count && i < 256; ++i) {
                    raster.SetPaletteEntry(i, palette[i].red, palette[i].green, palette[i].blue,
                                           255);
                }
            }
            break;
        }
        case PNG_COLOR_TYPE_RGB:
            target.Create(width, height, 32, false);
            break;
        default:
            target.Create(width, height, 32, true);
            break;
    }
}

// The pHYs resolution in dots per inch; 0 when the file gives none in metres.
void SetResolution(const PngContext& context, PLRowTarget& raster) {
    png_uint_32 resX = 0;
    png_uint_32 resY = 0;
    int unit = 0;
    if (png_get_pHYs(context.png, context.info, &resX, &resY, &unit) != 0 &&
        unit == PNG_RESOLUTION_METER) {
        raster.SetResolution(static_cast<std::int32_t>(std::lround(resX * 0.0254)),
                             static_cast<std::int32_t>(std::lround(resY * 0.0254)));
    } else {
        raster.SetResolution(0, 0);
    }
}

}  // namespace

void PLPngReader::Decode(PLInput& input, PLRaster& raster, const PLDecodeHint* hint) {
    PngContext context{};
    context.input = &input;
    PngStructs structs(context);
    context.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
    if (context.png == nullptr) {
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating the PNG decoder.");
    }
    context.info = png_create_info_struct(context.png);
    if (context.info == nullptr) {
        PLRaiseError(pl_error::OutOfMemory, "Out of memory creating the PNG decoder.");
    }
    if (!ReadPngInfo(&context)) {
        ThrowPngError(context);
    }

    // Interlaced rows come in seven passes over the whole picture, so such a
    // picture is read at full size and scaled afterwards by the caller.
    const bool interlaced = png_get_interlace_type(context.png, context.info) != PNG_INTERLACE_NONE;
    PLRowTarget target(raster, interlaced ? nullptr : hint);
    CreateRaster(context, target);
    if (png_get_rowbytes(context.png, context.info) != target.Picture().GetBytesPerLine()) {
        PLRaiseError(pl_error::FormatError, "PNG row size does not match the bitmap.");
    }
    const bool read = target.Scaling() ? ReadPngRows(&context, &target,
                                                     static_cast<std::int32_t>(png_get_image_height(
                                                         context.png, context.info)))
                                       : ReadPngImage(&context, raster.GetLineArray());
    if (!read) {
        ThrowPngError(context);
    }
    target.Finish();
    SetResolution(context, target);
}

}  // namespace velmora::picture
