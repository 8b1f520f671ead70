// Getting images into DirectDraw surfaces by name: a bitmap resource of the
// program or a bitmap file, copied through GDI into a new or restored surface.
#pragma once

#include "platform/ddraw/ddraw.h"

// The capability bits of a SurfacePlacement.
DWORD PlacementCaps(int placement);

// A new off-screen surface holding the bitmap resource of that name or, failing
// that, the bitmap file at that path; width and height are set on success.
// Null when neither exists or the surface cannot be made; nothing is reported.
IDirectDrawSurface4* CreateSurfaceFromBitmap(IDirectDraw4* directDraw, const char* name,
                                             int placement, int& width, int& height);

// Stretches the area (x, y, width, height) of the bitmap over the whole surface;
// width and height 0 mean the whole bitmap. Returns the result of GetDC.
HRESULT CopyBitmapToSurface(IDirectDrawSurface4* surface, HBITMAP bitmap, int x, int y, int width,
                            int height);

// Copies the named bitmap into a surface again after its memory was restored.
HRESULT ReloadBitmap(IDirectDrawSurface4* surface, const char* name);
