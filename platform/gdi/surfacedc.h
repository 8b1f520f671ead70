// The bridge between a DirectDraw surface and GDI: a device context whose
// drawing lands in the surface's pixels.
#pragma once

#include "platform/gdi/gdi.h"

namespace platform
{

class PixelBuffer;

HDC CreateSurfaceDC(PixelBuffer& pixels);
void DestroySurfaceDC(HDC dc);

} // namespace platform
