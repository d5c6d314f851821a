// The one request that reports an installation to the maker's web server.
#pragma once

#include <string_view>

#include "setup/request_address.h"

namespace velmora::setup {

// Fetches the base address from the maker's server, builds the request
// address and requests it; the answer is not looked at. Every failure ends
// the submission silently, with no request. The address goes to the debugger
// output first. A base address that is not under the maker's site is not
// requested at all; the debugger output names it as refused.
void Submit(const ContactEntry& contact, std::string_view extraQuery);

}  // namespace velmora::setup
