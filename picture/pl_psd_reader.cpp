#include "picture/pl_psd_reader.h"

#include "picture/pl_text_exception.h"

namespace velmora::picture {

// Placeholder while the reader is being written.
void PLPsdReader::Decode(PLInput&, PLRaster&, const PLDecodeHint*) {
    PLRaiseError(pl_error::NotSupported, "Library not compiled for this file type.");
}

}  // namespace velmora::picture
