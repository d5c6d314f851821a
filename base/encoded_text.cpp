#include "base/encoded_text.h"

namespace velmora {

std::string DecodeText(const std::uint8_t* bytes, std::size_t length) {
    std::string plain(length, '\0');
    std::uint8_t previous = 0x5A;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c =
            static_cast<std::uint8_t>(bytes[i] ^ encoded_text_detail::KeyByte(i, length) ^
                                      static_cast<std::uint8_t>(previous * 31u));
        plain[i] = static_cast<char>(c);
        previous = c;
    }
    return plain;
}

}  // namespace velmora
