#include "picture/win32/pl_resource_input.h"

#include <string>

#include "picture/pl_text_exception.h"
#include "picture/pl_trace.h"

namespace velmora::picture {

PLResourceInput::PLResourceInput(HMODULE module, int id, const char* type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type != nullptr ? type : RT_RCDATA);
    loaded_ = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded_ != nullptr ? LockResource(loaded_) : nullptr;
    if (data == nullptr) {
        PLRaiseError(pl_error::OpenFailed, "Opening resource " + std::to_string(id) + " failed");
    }
    SetSource("Resource: " + std::to_string(id), static_cast<const std::uint8_t*>(data),
              SizeofResource(module, found));
}

PLResourceInput::~PLResourceInput() {
    if (loaded_ != nullptr) {
        FreeResource(loaded_);
    }
}

void DecodeResourceToRaster(PLAutoDecoder& decoder, HMODULE module, int id, PLRaster& raster,
                            int bitsPerPixel, const char* type, const PLDecodeHint* hint) {
    PLTrace(1, "--- Decoding resource ID " + std::to_string(id) + ". ---\n");
    PLResourceInput input(module, id, type);
    decoder.DecodeInputToRaster(input, raster, bitsPerPixel, hint);
}

}  // namespace velmora::picture
