// Text crosses the Win32 edge here: UTF-8 inside, UTF-16 for the wide calls.
// Ill-formed input on either side becomes U+FFFD (base/utf8.h).
#pragma once

#include <string>
#include <string_view>

namespace velmora {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace velmora
