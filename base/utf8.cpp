#include "base/utf8.h"

namespace velmora {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The range the second byte of a sequence must fall in, by its lead byte
// (this is what rules out over-long forms, surrogates and values past U+10FFFF).
struct SecondByteRange {
    unsigned char low;
    unsigned char high;
};

SecondByteRange SecondRange(unsigned char lead) {
    switch (lead) {
        case 0xE0:
            return {0xA0, 0xBF};
        case 0xED:
            return {0x80, 0x9F};
        case 0xF0:
            return {0x90, 0xBF};
        case 0xF4:
            return {0x80, 0x8F};
        default:
            return {0x80, 0xBF};
    }
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

// One character, or false for an ill-formed part (position then moves past it).
bool Decode(std::string_view text, std::size_t& position, char32_t& value) {
    const auto lead = static_cast<unsigned char>(text[position++]);
    value = kReplacementCharacter;
    if (lead < 0x80) {
        value = lead;
        return true;
    }
    std::size_t length = 0;
    char32_t decoded = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        decoded = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        decoded = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        decoded = lead & 0x07;
    } else {
        return false;  // a stray continuation byte or a lead never used
    }
    const SecondByteRange second = SecondRange(lead);
    for (std::size_t i = 1; i < length; ++i) {
        if (position >= text.size()) {
            return false;  // cut short: the bytes so far are one bad part
        }
        const auto byte = static_cast<unsigned char>(text[position]);
        const bool fits = i == 1 ? byte >= second.low && byte <= second.high : IsContinuation(byte);
        if (!fits) {
            return false;  // the byte may start the next character
        }
        decoded = (decoded << 6) | (byte & 0x3F);
        ++position;
    }
    value = decoded;
    return true;
}

}  // namespace

char32_t NextCharacter(std::string_view text, std::size_t& position) {
    char32_t value = 0;
    Decode(text, position, value);
    return value;
}

std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        AppendUtf16(out, NextCharacter(text, position));
    }
    return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            c = kReplacementCharacter;
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    char32_t value = 0;
    for (std::size_t position = 0; position < text.size();) {
        if (!Decode(text, position, value)) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf16(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

std::string ValidUtf8(std::string_view text) {
    if (IsValidUtf8(text)) {
        return std::string(text);
    }
    std::string out;
    for (std::size_t position = 0; position < text.size();) {
        AppendUtf8(out, NextCharacter(text, position));
    }
    return out;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t position = 0; position < text.size();) {
        units += NextCharacter(text, position) < 0x10000 ? 1 : 2;
    }
    return units;
}

std::string_view WithoutCutCharacter(std::string_view text) {
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if (IsContinuation(byte)) {
            continue;
        }
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back ? text.substr(0, size - back) : text;
    }
    return text;
}

}  // namespace velmora
