// The picture libraries linked into the Windows programs work: zlib round
// trips, and libpng and libjpeg report the versions they were built as.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

TEST(Dependencies, ZlibCompressesAndUncompresses) {
    const std::string text(5000, 'v');
    std::vector<Bytef> packed(compressBound(text.size()));
    uLongf packedSize = packed.size();
    ASSERT_EQ(compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text.data()),
                       text.size()),
              Z_OK);
    EXPECT_LT(packedSize, 100u);
    std::string unpacked(text.size(), '\0');
    uLongf unpackedSize = unpacked.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &unpackedSize, packed.data(),
                         packedSize),
              Z_OK);
    EXPECT_EQ(unpacked, text);
}

TEST(Dependencies, LibpngMatchesItsHeader) {
    EXPECT_EQ(png_access_version_number(), static_cast<png_uint_32>(PNG_LIBPNG_VER));
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    ASSERT_NE(png, nullptr);
    png_destroy_read_struct(&png, nullptr, nullptr);
}

TEST(Dependencies, LibjpegCreatesADecompressor) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    EXPECT_EQ(info.global_state, 200);  // DSTATE_START
    jpeg_destroy_decompress(&info);
    EXPECT_EQ(JPEG_LIB_VERSION, 62);
}

}  // namespace
