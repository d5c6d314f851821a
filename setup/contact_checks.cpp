#include "setup/contact_checks.h"

namespace velmora::setup {

bool IsValidEmail(std::string_view text) {
    if (text.size() < 5) {
        return false;
    }
    const auto at = text.find('@');
    return at != std::string_view::npos && text.find('.', at) != std::string_view::npos;
}

bool AcceptsContactEntry(bool contactWanted, std::string_view email) {
    return !contactWanted || (email.size() > 2 && IsValidEmail(email));
}

}  // namespace velmora::setup
