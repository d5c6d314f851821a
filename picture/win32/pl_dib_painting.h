// Painting a PLDibRaster into a device context and copying it for the
// clipboard.
#pragma once

#include <windows.h>

#include "picture/pl_dib_raster.h"

namespace velmora::picture {

// At its own size, with its top-left corner at (x, y).
void PLDibDraw(const PLDibRaster& raster, HDC dc, int x, int y);
// Scaled by a zoom factor.
void PLDibDrawZoomed(const PLDibRaster& raster, HDC dc, int x, int y, double zoom);
// Stretched into a rectangle.
void PLDibStretchDraw(const PLDibRaster& raster, HDC dc, const RECT& target);
// Unscaled, through SetDIBitsToDevice.
void PLDibSetToDevice(const PLDibRaster& raster, HDC dc, int x, int y);

// The whole block in a movable, shareable global memory handle, as the
// clipboard takes a CF_DIB. Throws code 10 when the memory cannot be had.
HGLOBAL PLDibCopyToGlobal(const PLDibRaster& raster);

}  // namespace velmora::picture
