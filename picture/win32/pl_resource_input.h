// Decoding pictures kept as module resources.
#pragma once

#include <windows.h>

#include "picture/pl_auto_decoder.h"
#include "picture/pl_input.h"

namespace velmora::picture {

// A resource of the module, found by numeric id and type (RT_RCDATA when
// none is given); named "Resource: <id>". Failures are code 4.
class PLResourceInput : public PLInput {
public:
    PLResourceInput(HMODULE module, int id, const char* type);
    ~PLResourceInput() override;

private:
    HGLOBAL loaded_ = nullptr;
};

void DecodeResourceToRaster(PLAutoDecoder& decoder, HMODULE module, int id, PLRaster& raster,
                            int bitsPerPixel, const char* type = nullptr,
                            const PLDecodeHint* hint = nullptr);

}  // namespace velmora::picture
