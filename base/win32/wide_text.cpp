#include "base/win32/wide_text.h"

#include "base/utf8.h"

namespace velmora {

// The portable conversions do the work, so bad input is replaced the same way
// on every system the tests run on; wchar_t holds UTF-16 units on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring WideFromUtf8(std::string_view text) {
    const std::u16string wide = Utf16FromUtf8(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromWide(std::wstring_view text) {
    return Utf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace velmora
