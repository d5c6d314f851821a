// UTF-8 and UTF-16 without the system: the conversions behind the wide calls,
// and the walk over a text's characters that the font and the length rules use.
// Broken input never fails: each ill-formed part becomes one U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character starting at text[position], moving position past it. An
// ill-formed sequence (stray or missing continuation byte, over-long form,
// surrogate, beyond U+10FFFF) gives U+FFFD and moves past its longest valid
// start, at least one byte. position must be below text.size().
char32_t NextCharacter(std::string_view text, std::size_t& position);

// Unpaired surrogates become U+FFFD; NULs pass through like any character.
std::u16string Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::u16string_view text);

bool IsValidUtf8(std::string_view text);
// No unpaired surrogate: the text has a UTF-8 form that converts back to it.
bool IsValidUtf16(std::u16string_view text);
// text with every ill-formed part replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// How many UTF-16 units the text becomes (the count the system's path limits use).
std::size_t Utf16Length(std::string_view text);

// text without a character that a fixed buffer cut short at its end.
std::string_view WithoutCutCharacter(std::string_view text);

}  // namespace velmora
