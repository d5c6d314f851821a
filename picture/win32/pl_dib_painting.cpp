#include "picture/win32/pl_dib_painting.h"

#include <cmath>
#include <cstring>

#include "picture/pl_text_exception.h"

namespace velmora::picture {

namespace {

const BITMAPINFO* Info(const PLDibRaster& raster) {
    return reinterpret_cast<const BITMAPINFO*>(raster.GetBlock());
}

void Stretch(const PLDibRaster& raster, HDC dc, int x, int y, int width, int height) {
    StretchDIBits(dc, x, y, width, height, 0, 0, raster.GetWidth(), raster.GetHeight(),
                  raster.GetBits(), Info(raster), DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void PLDibDraw(const PLDibRaster& raster, HDC dc, int x, int y) {
    Stretch(raster, dc, x, y, raster.GetWidth(), raster.GetHeight());
}

void PLDibDrawZoomed(const PLDibRaster& raster, HDC dc, int x, int y, double zoom) {
    Stretch(raster, dc, x, y, static_cast<int>(std::lround(raster.GetWidth() * zoom)),
            static_cast<int>(std::lround(raster.GetHeight() * zoom)));
}

void PLDibStretchDraw(const PLDibRaster& raster, HDC dc, const RECT& target) {
    Stretch(raster, dc, target.left, target.top, target.right - target.left,
            target.bottom - target.top);
}

void PLDibSetToDevice(const PLDibRaster& raster, HDC dc, int x, int y) {
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(raster.GetWidth()),
                      static_cast<DWORD>(raster.GetHeight()), 0, 0, 0,
                      static_cast<UINT>(raster.GetHeight()), raster.GetBits(), Info(raster),
                      DIB_RGB_COLORS);
}

HGLOBAL PLDibCopyToGlobal(const PLDibRaster& raster) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, raster.GetBlockSize());
    void* target = handle != nullptr ? GlobalLock(handle) : nullptr;
    if (target == nullptr) {
        if (handle != nullptr) {
            GlobalFree(handle);
        }
        PLRaiseError(pl_error::OutOfMemory, "Can't allocate global memory block.");
    }
    std::memcpy(target, raster.GetBlock(), raster.GetBlockSize());
    GlobalUnlock(handle);
    return handle;
}

}  // namespace velmora::picture
