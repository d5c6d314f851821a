// Builds without system decoders refuse what the built-in readers do not read.
#include "picture/pl_fallback_reader.h"

namespace velmora::picture {

PLFallbackReader* SystemFallbackReader() {
    return nullptr;
}

}  // namespace velmora::picture
