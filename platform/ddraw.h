// The DirectDraw subset the display layer calls, as software surfaces in the
// display mode's pixel format (16 bits RGB565, or 8 bits with a fixed palette).
#pragma once

#include "platform/gdi.h"
#include "platform/win32.h"

constexpr HRESULT MakeDdHResult(DWORD code)
{
    return static_cast<HRESULT>(0x88760000u | code);
}

constexpr HRESULT DD_OK = S_OK;

// Result codes (published values). The complete table of names lives with
// the error reporter; these are the ones the platform itself returns.
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_INVALIDOBJECT = MakeDdHResult(130);
constexpr HRESULT DDERR_INVALIDMODE = MakeDdHResult(90);
constexpr HRESULT DDERR_INVALIDCAPS = MakeDdHResult(100);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDdHResult(145);
constexpr HRESULT DDERR_INVALIDRECT = MakeDdHResult(150);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MakeDdHResult(212);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDdHResult(225);
constexpr HRESULT DDERR_NOTFOUND = MakeDdHResult(255);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDdHResult(380);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDdHResult(430);
constexpr HRESULT DDERR_SURFACELOST = MakeDdHResult(450);
constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDdHResult(540);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDdHResult(564);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDdHResult(582);
constexpr HRESULT DDERR_CANTCREATEDC = MakeDdHResult(589);
constexpr HRESULT DDERR_NODC = MakeDdHResult(586);
constexpr HRESULT DDERR_DCALREADYCREATED = MakeDdHResult(620);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = MakeDdHResult(590);

// SetCooperativeLevel
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// SetDisplayMode
constexpr DWORD DDSDM_STANDARDVGAMODE = 0x00000001;

// DDSURFACEDESC2::dwFlags
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;

// DDSCAPS2::dwCaps
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;

// Blt
constexpr DWORD DDBLT_COLORFILL = 0x00000400;
constexpr DWORD DDBLT_DDFX = 0x00000800;
constexpr DWORD DDBLT_KEYSRC = 0x00008000;
constexpr DWORD DDBLT_WAIT = 0x01000000;
constexpr DWORD DDBLTFX_MIRRORLEFTRIGHT = 0x00000002;
constexpr DWORD DDBLTFX_MIRRORUPDOWN = 0x00000004;

// BltFast
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
constexpr DWORD DDBLTFAST_WAIT = 0x00000010;

// Flip
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;

// SetColorKey
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

struct DDSCAPS2
{
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

struct DDCOLORKEY
{
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT
{
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSURFACEDESC2
{
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

struct DDBLTFX
{
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwFillColor;
};

extern const IID IID_IDirectDraw4;

class IDirectDrawSurface4 : public IUnknown
{
public:
    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface4* source, RECT* sourceRect,
                        DWORD flags, DDBLTFX* effects) = 0;
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface4* source, RECT* sourceRect,
                            DWORD transfer) = 0;
    virtual HRESULT Flip(IDirectDrawSurface4* overrideSurface, DWORD flags) = 0;
    virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface4** attached) = 0;
    virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
};

class IDirectDraw4 : public IUnknown
{
public:
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel,
                                   DWORD refreshRate, DWORD flags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                                  IUnknown* outer) = 0;
    virtual HRESULT FlipToGDISurface() = 0;
};

// The object DirectDrawCreate hands out; QueryInterface gives IDirectDraw4.
class IDirectDraw : public IUnknown
{
};

HRESULT DirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer);
