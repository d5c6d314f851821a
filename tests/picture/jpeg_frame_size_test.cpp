// Reading a JPEG's size from its frame header without decoding it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "picture/pl_jpeg_frame_size.h"
#include "tests/support/picture_samples.h"

namespace velmora::picture {
namespace {

TEST(JpegFrameSize, ComesFromTheFrameHeader) {
    const testing::Bytes jpeg = testing::EncodeJpeg(33, 17, 3, testing::Bytes(33 * 17 * 3, 90), 80);
    EXPECT_EQ(ReadJpegFrameSize(jpeg.data(), jpeg.size()), (PLFrameSize{33, 17}));
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{100}}) {
        EXPECT_EQ(ReadJpegFrameSize(jpeg.data(), std::min(cut, jpeg.size())), std::nullopt);
    }
    const std::uint8_t scanFirst[] = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02};
    EXPECT_EQ(ReadJpegFrameSize(scanFirst, sizeof scanFirst), std::nullopt);
}

}  // namespace
}  // namespace velmora::picture
