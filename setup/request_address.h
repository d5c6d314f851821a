// The address of the installation report: the base address the maker's
// server names, "?install=true", the contact data when the user agreed, and
// the extra query text the installer passed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::setup {

inline constexpr std::size_t kMaxRequestAddress = 1023;
inline constexpr std::size_t kMaxContactField = 255;

struct ContactEntry {
    std::string name;
    std::string email;
    bool wanted = false;
};

// Whether a downloaded file of this size fits a text buffer with its zero.
bool FitsTextBuffer(std::uint64_t fileSize, std::size_t bufferSize);

// The base address held by the downloaded text file: the text up to its first
// zero byte, without line ends at its end (a file saved by an editor has one).
std::string BaseAddressFromFile(std::string_view fileText);

// Whether the report may go to this base address: it starts with the maker's
// site followed by "/" and holds no blank or control character. Another
// host, another scheme, a file: address or a UNC path is refused, so the
// user's name and address go nowhere the maker did not build in.
bool IsOnMakerSite(std::string_view base, std::string_view site);

// Name and e-mail address are cut to kMaxContactField characters and escaped;
// an address that fails IsValidEmail is sent empty. Extra query text shorter
// than 2 characters is left out. The result is cut to kMaxRequestAddress.
std::string BuildRequestAddress(std::string_view base, const ContactEntry& contact,
                                std::string_view extraQuery);

}  // namespace velmora::setup
