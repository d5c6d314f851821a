// The checks on what the user typed into the setup assistant's dialog.
#pragma once

#include <string_view>

namespace velmora::setup {

// At least 5 characters, an "@", and a "." at or after the first "@".
bool IsValidEmail(std::string_view text);

// Whether "OK" may go ahead: always without contact, otherwise the e-mail
// field must be longer than 2 characters and pass IsValidEmail.
bool AcceptsContactEntry(bool contactWanted, std::string_view email);

}  // namespace velmora::setup
