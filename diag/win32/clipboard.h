// Puts a text on the clipboard.
#pragma once

#include <string>

#include "base/status.h"

namespace velmora::diag {

// CF_TEXT, with its terminating zero. E_FAIL when the clipboard cannot be
// opened, emptied or handed the text; E_OUTOFMEMORY without a block for it.
Status CopyTextToClipboard(const std::string& text);

}  // namespace velmora::diag
