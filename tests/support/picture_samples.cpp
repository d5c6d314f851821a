// Sample pictures written through libpng and libjpeg (picture_samples.h).
#include "tests/support/picture_samples.h"

#include <png.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>

#include <jpeglib.h>

namespace velmora::picture::testing {

namespace {

void AppendPngData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushPng(png_structp) {}

int ChannelsOf(int colourType) {
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

// Rows top-down of `components` samples each, compressed with the library's
// defaults and whatever `configure` sets on top of them.
template <typename Configure>
Bytes CompressJpeg(int width, int height, int components, J_COLOR_SPACE inputSpace,
                   const Bytes& samples, Configure configure) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = inputSpace;
    jpeg_set_defaults(&info);
    configure(info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + rowBytes * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

}  // namespace

Bytes EncodePng(int width, int height, int colourType, int bitDepth, const Bytes& samples,
                const Bytes& palette, int pixelsPerMetre, bool interlaced) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to write the sample");
    }
    png_set_write_fn(png, &out, AppendPngData, FlushPng);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 bitDepth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (std::size_t i = 0; i + 2 < palette.size(); i += 3) {
        colours.push_back(png_color{palette[i], palette[i + 1], palette[i + 2]});
    }
    if (!colours.empty()) {
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    }
    if (pixelsPerMetre > 0) {
        png_set_pHYs(png, info, static_cast<png_uint_32>(pixelsPerMetre),
                     static_cast<png_uint_32>(pixelsPerMetre), PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width) * ChannelsOf(colourType) * bitDepth + 7) / 8;
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(const_cast<png_bytep>(samples.data() + rowBytes * y));
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, int quality,
                 int densityX, int densityY, bool progressive) {
    return CompressJpeg(width, height, components, components == 1 ? JCS_GRAYSCALE : JCS_RGB,
                        samples, [&](jpeg_compress_struct& info) {
                            jpeg_set_quality(&info, quality, TRUE);
                            if (densityX > 0) {
                                info.density_unit = 1;
                                info.X_density = static_cast<UINT16>(densityX);
                                info.Y_density = static_cast<UINT16>(densityY);
                            }
                            if (progressive) {
                                jpeg_simple_progression(&info);
                            }
                        });
}

Bytes EncodeCmykJpeg(int width, int height, const Bytes& cmyk, CmykStorage storage,
                     AdobeMarker marker) {
    return CompressJpeg(width, height, 4, JCS_CMYK, cmyk, [&](jpeg_compress_struct& info) {
        jpeg_set_quality(&info, 95, TRUE);
        jpeg_set_colorspace(&info, storage == CmykStorage::Ycck ? JCS_YCCK : JCS_CMYK);
        info.write_Adobe_marker = marker == AdobeMarker::Written ? TRUE : FALSE;
    });
}

Bytes InsertJpegSegment(const Bytes& jpeg, std::uint8_t marker, const Bytes& contents) {
    const std::size_t length = contents.size() + 2;
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    // Byte by byte: GCC 12 at -O3 takes an initializer-list insert into a
    // fresh small vector for a read past its end.
    for (std::uint8_t b : {std::uint8_t{0xFF}, marker, static_cast<std::uint8_t>(length >> 8),
                           static_cast<std::uint8_t>(length)}) {
        out.push_back(b);
    }
    out.insert(out.end(), contents.begin(), contents.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

Bytes ExifOrientationSegment(std::uint16_t value, bool bigEndian, std::uint32_t directoryOffset,
                             std::uint16_t entries) {
    Bytes out = {'E', 'x', 'i', 'f', 0, 0};
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            out.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    };
    const std::uint8_t order = bigEndian ? 'M' : 'I';
    out.push_back(order);
    out.push_back(order);
    put(42, 2);
    put(directoryOffset, 4);
    put(entries, 2);
    put(0x010F, 2);  // make: ASCII, four bytes held in the entry
    put(2, 2);
    put(4, 4);
    out.insert(out.end(), {'V', 'l', 'm', 0});
    put(0x0112, 2);  // orientation: one SHORT
    put(3, 2);
    put(1, 4);
    put(value, 2);
    put(0, 2);
    put(0, 4);  // no next IFD
    return out;
}

TempFile::TempFile(const std::string& name, const Bytes& contents) {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device entropy;
    std::filesystem::path folder;
    do {
        folder = base / ("velmora-picture-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(folder));
    folder_ = folder.string();
    path_ = (folder / name).string();
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path_);
    }
    std::fwrite(contents.data(), 1, contents.size(), file);
    std::fclose(file);
}

TempFile::~TempFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace velmora::picture::testing
