// Texts kept out of the program's data in plain form. They are encoded while
// compiling (EncodeText is consteval, so the plain literal never reaches the
// binary) and turned back into ordinary strings by DecodeText at run time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velmora {

namespace encoded_text_detail {

// Key stream shared by the compile-time encoder and the run-time decoder.
constexpr std::uint8_t KeyByte(std::size_t position, std::size_t length) {
    std::uint32_t x = 0x9E3779B9u ^ static_cast<std::uint32_t>(length * 0x85EBCA6Bu) ^
                      static_cast<std::uint32_t>(position * 0xC2B2AE35u);
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return static_cast<std::uint8_t>(x);
}

}  // namespace encoded_text_detail

// An encoded text of Length characters (no terminator is stored).
template <std::size_t Length>
struct EncodedText {
    std::array<std::uint8_t, Length> bytes{};

    static constexpr std::size_t size() { return Length; }
};

template <std::size_t N>
consteval EncodedText<N - 1> EncodeText(const char (&plain)[N]) {
    EncodedText<N - 1> encoded;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const auto previous = i == 0 ? std::uint8_t{0x5A} : static_cast<std::uint8_t>(plain[i - 1]);
        encoded.bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(plain[i]) ^
                                                     encoded_text_detail::KeyByte(i, N - 1) ^
                                                     static_cast<std::uint8_t>(previous * 31u));
    }
    return encoded;
}

// The one routine that turns encoded bytes back into text.
std::string DecodeText(const std::uint8_t* bytes, std::size_t length);

template <std::size_t Length>
std::string DecodeText(const EncodedText<Length>& text) {
    return DecodeText(text.bytes.data(), Length);
}

}  // namespace velmora
