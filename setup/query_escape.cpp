#include "setup/query_escape.h"

namespace velmora::setup {

namespace {

bool IsKept(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string EscapeQueryValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : value.substr(0, kMaxEscapedInput)) {
        if (escaped.size() + 4 >= kEscapeBufferSize) {
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (IsKept(byte)) {
            escaped += c;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        }
    }
    return escaped;
}

}  // namespace velmora::setup
