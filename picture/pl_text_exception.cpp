#include "picture/pl_text_exception.h"

#include <utility>

#include "base/platform.h"
#include "picture/pl_trace.h"

namespace velmora::picture {

PLTextException::PLTextException(int code, std::string message)
    : code_(code), message_(std::move(message)) {
    platform::RestoreDefaultErrorMode();
}

void PLRaiseError(int code, const std::string& text) {
    const std::string message = "Decoder error: " + text + "\n";
    PLTrace(0, message);
    throw PLTextException(code, message);
}

}  // namespace velmora::picture
