// The encoded product texts: decoding back, short texts and every byte value.
#include "base/encoded_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/product_texts.h"
#include "frame/frame_texts.h"

namespace velmora {
namespace {

template <std::size_t N>
std::string EncodedBytes(const EncodedText<N>& text) {
    return std::string(text.bytes.begin(), text.bytes.end());
}

TEST(EncodedText, DecodesBackToThePlainText) {
    constexpr auto text = EncodeText("Software\\Quillfen Graphics\\Velmora");
    EXPECT_EQ(DecodeText(text), "Software\\Quillfen Graphics\\Velmora");
    EXPECT_EQ(DecodeText(texts::kSettingsKeyPath), "Software\\Quillfen Graphics\\Velmora");
    EXPECT_EQ(DecodeText(texts::kProduct), "Velmora");
    EXPECT_EQ(DecodeText(texts::kPasswordChangeEntry), "PwdChangePasswordA");
}

TEST(EncodedText, EmptyAndSingleCharacterTexts) {
    constexpr auto empty = EncodeText("");
    static_assert(empty.size() == 0);
    EXPECT_EQ(DecodeText(empty), "");
    constexpr auto one = EncodeText("x");
    EXPECT_EQ(DecodeText(one), "x");
}

TEST(EncodedText, EncodedFormHidesThePlainText) {
    const std::string encoded = EncodedBytes(texts::kSettingsKeyPath);
    EXPECT_EQ(encoded.find("Quillfen"), std::string::npos);
    EXPECT_EQ(encoded.find("Velmora"), std::string::npos);
    EXPECT_EQ(encoded.find("Software"), std::string::npos);
    // Repeated letters do not encode to repeated bytes.
    constexpr auto repeated = EncodeText("aaaaaaaaaaaaaaaa");
    const std::string bytes = EncodedBytes(repeated);
    EXPECT_LT(std::count(bytes.begin(), bytes.end(), bytes[0]), 4);
}

TEST(EncodedText, KeepsEveryByteValue) {
    constexpr auto text = EncodeText("\x01\x7f\x80\xff tab\there %03d_%03d");
    EXPECT_EQ(DecodeText(text), "\x01\x7f\x80\xff tab\there %03d_%03d");
}

}  // namespace
}  // namespace velmora
