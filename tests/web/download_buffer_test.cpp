// The download buffer: growth with and without a content length, and its limit.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "web/download_buffer.h"

namespace velmora::web {
namespace {

TEST(DownloadBufferTest, GrowsInStepsWithoutAContentLength) {
    DownloadBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(std::nullopt));
    EXPECT_EQ(buffer.Capacity(), 4096u);
    std::string expected;
    const std::string piece(4096, 'a');
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(buffer.Append(piece.data(), static_cast<std::uint32_t>(piece.size())));
        expected += piece;
    }
    // The second piece grew it to what had arrived plus one step; the third fitted.
    EXPECT_EQ(buffer.Capacity(), 2u * 4096 + 4096);
    ASSERT_TRUE(buffer.Append("", 0));
    EXPECT_EQ(buffer.Text(), expected);
    EXPECT_EQ(buffer.Text().data()[buffer.Received()], '\0');
}

TEST(DownloadBufferTest, StartsAtTheContentLengthAndStillTakesMore) {
    DownloadBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(3));
    ASSERT_TRUE(buffer.Append("abcde", 5));
    EXPECT_EQ(buffer.Capacity(), 5u + 4096);
    EXPECT_EQ(buffer.Text(), "abcde");
    EXPECT_EQ(buffer.Text().data()[5], '\0');
}

TEST(DownloadBufferTest, RefusesMoreThanTheLimit) {
    DownloadBuffer buffer;
    EXPECT_FALSE(buffer.Allocate(0xFFFFFFFFu));
    EXPECT_FALSE(buffer.Allocate(kMaxDownloadSize + 1));
    ASSERT_TRUE(buffer.Allocate(kMaxDownloadSize));
    const std::string piece(4096, 'b');
    std::uint32_t total = 0;
    while (buffer.Append(piece.data(), 4096)) {
        total += 4096;
    }
    EXPECT_EQ(total, kMaxDownloadSize);
    EXPECT_EQ(buffer.Received(), kMaxDownloadSize);
}

}  // namespace
}  // namespace velmora::web
