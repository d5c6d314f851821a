#include "setup/request_address.h"

#include "setup/contact_checks.h"
#include "setup/query_escape.h"

namespace velmora::setup {

bool FitsTextBuffer(std::uint64_t fileSize, std::size_t bufferSize) {
    return fileSize < bufferSize;
}

std::string BaseAddressFromFile(std::string_view fileText) {
    std::string_view base = fileText.substr(0, fileText.find('\0'));
    while (!base.empty() && (base.back() == '\n' || base.back() == '\r')) {
        base.remove_suffix(1);
    }
    return std::string(base);
}

bool IsOnMakerSite(std::string_view base, std::string_view site) {
    if (site.empty() || base.size() <= site.size() || base.substr(0, site.size()) != site ||
        base[site.size()] != '/') {
        return false;
    }
    for (const char c : base) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string BuildRequestAddress(std::string_view base, const ContactEntry& contact,
                                std::string_view extraQuery) {
    std::string address(base);
    address += "?install=true";
    if (contact.wanted) {
        const std::string_view name = std::string_view(contact.name).substr(0, kMaxContactField);
        std::string_view email = std::string_view(contact.email).substr(0, kMaxContactField);
        if (!IsValidEmail(email)) {
            email = {};
        }
        address += "&a=s&name=" + EscapeQueryValue(name) + "&email=" + EscapeQueryValue(email);
    }
    if (extraQuery.size() >= 2) {
        address += extraQuery;
    }
    if (address.size() > kMaxRequestAddress) {
        address.resize(kMaxRequestAddress);
    }
    return address;
}

}  // namespace velmora::setup
