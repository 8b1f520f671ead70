// The DirectDraw subset the display layer calls, as software surfaces in the
// display mode's pixel format (16 bits RGB565, or 8 bits with a fixed palette).
#pragma once

#include "platform/gdi/gdi.h"
#include "platform/win32/win32.h"

constexpr HRESULT MakeDdHResult(DWORD code)
{
    return static_cast<HRESULT>(0x88760000u | code);
}

constexpr HRESULT DD_OK = S_OK;

// Result codes (published values): the generic codes DirectDraw shares with
// COM, then its own. These are all the names the error reporter knows.
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT DDERR_ALREADYINITIALIZED = MakeDdHResult(5);
constexpr HRESULT DDERR_CANNOTATTACHSURFACE = MakeDdHResult(10);
constexpr HRESULT DDERR_CANNOTDETACHSURFACE = MakeDdHResult(20);
constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = MakeDdHResult(40);
constexpr HRESULT DDERR_EXCEPTION = MakeDdHResult(55);
constexpr HRESULT DDERR_HEIGHTALIGN = MakeDdHResult(90);
constexpr HRESULT DDERR_INCOMPATIBLEPRIMARY = MakeDdHResult(95);
constexpr HRESULT DDERR_INVALIDCAPS = MakeDdHResult(100);
constexpr HRESULT DDERR_INVALIDCLIPLIST = MakeDdHResult(110);
constexpr HRESULT DDERR_INVALIDMODE = MakeDdHResult(120);
constexpr HRESULT DDERR_INVALIDOBJECT = MakeDdHResult(130);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDdHResult(145);
constexpr HRESULT DDERR_INVALIDRECT = MakeDdHResult(150);
constexpr HRESULT DDERR_LOCKEDSURFACES = MakeDdHResult(160);
constexpr HRESULT DDERR_NO3D = MakeDdHResult(170);
constexpr HRESULT DDERR_NOALPHAHW = MakeDdHResult(180);
constexpr HRESULT DDERR_NOCLIPLIST = MakeDdHResult(205);
constexpr HRESULT DDERR_NOCOLORCONVHW = MakeDdHResult(210);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MakeDdHResult(212);
constexpr HRESULT DDERR_NOCOLORKEY = MakeDdHResult(215);
constexpr HRESULT DDERR_NOCOLORKEYHW = MakeDdHResult(220);
constexpr HRESULT DDERR_NODIRECTDRAWSUPPORT = MakeDdHResult(222);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDdHResult(225);
constexpr HRESULT DDERR_NOFLIPHW = MakeDdHResult(230);
constexpr HRESULT DDERR_NOGDI = MakeDdHResult(240);
constexpr HRESULT DDERR_NOMIRRORHW = MakeDdHResult(250);
constexpr HRESULT DDERR_NOTFOUND = MakeDdHResult(255);
constexpr HRESULT DDERR_NOOVERLAYHW = MakeDdHResult(260);
constexpr HRESULT DDERR_NORASTEROPHW = MakeDdHResult(280);
constexpr HRESULT DDERR_NOROTATIONHW = MakeDdHResult(290);
constexpr HRESULT DDERR_NOSTRETCHHW = MakeDdHResult(310);
constexpr HRESULT DDERR_NOT4BITCOLOR = MakeDdHResult(316);
constexpr HRESULT DDERR_NOT4BITCOLORINDEX = MakeDdHResult(317);
constexpr HRESULT DDERR_NOT8BITCOLOR = MakeDdHResult(320);
constexpr HRESULT DDERR_NOTEXTUREHW = MakeDdHResult(330);
constexpr HRESULT DDERR_NOVSYNCHW = MakeDdHResult(335);
constexpr HRESULT DDERR_NOZBUFFERHW = MakeDdHResult(340);
constexpr HRESULT DDERR_NOZOVERLAYHW = MakeDdHResult(350);
constexpr HRESULT DDERR_OUTOFCAPS = MakeDdHResult(360);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDdHResult(380);
constexpr HRESULT DDERR_OVERLAYCANTCLIP = MakeDdHResult(382);
constexpr HRESULT DDERR_OVERLAYCOLORKEYONLYONEACTIVE = MakeDdHResult(384);
constexpr HRESULT DDERR_PALETTEBUSY = MakeDdHResult(387);
constexpr HRESULT DDERR_COLORKEYNOTSET = MakeDdHResult(400);
constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDdHResult(410);
constexpr HRESULT DDERR_SURFACEALREADYDEPENDENT = MakeDdHResult(420);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDdHResult(430);
constexpr HRESULT DDERR_CANTLOCKSURFACE = MakeDdHResult(435);
constexpr HRESULT DDERR_SURFACEISOBSCURED = MakeDdHResult(440);
constexpr HRESULT DDERR_SURFACELOST = MakeDdHResult(450);
constexpr HRESULT DDERR_SURFACENOTATTACHED = MakeDdHResult(460);
constexpr HRESULT DDERR_TOOBIGHEIGHT = MakeDdHResult(470);
constexpr HRESULT DDERR_TOOBIGSIZE = MakeDdHResult(480);
constexpr HRESULT DDERR_TOOBIGWIDTH = MakeDdHResult(490);
constexpr HRESULT DDERR_UNSUPPORTEDFORMAT = MakeDdHResult(510);
constexpr HRESULT DDERR_UNSUPPORTEDMASK = MakeDdHResult(520);
constexpr HRESULT DDERR_VERTICALBLANKINPROGRESS = MakeDdHResult(537);
constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDdHResult(540);
constexpr HRESULT DDERR_XALIGN = MakeDdHResult(560);
constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = MakeDdHResult(561);
constexpr HRESULT DDERR_DIRECTDRAWALREADYCREATED = MakeDdHResult(562);
constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDdHResult(563);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDdHResult(564);
constexpr HRESULT DDERR_NOEMULATION = MakeDdHResult(565);
constexpr HRESULT DDERR_REGIONTOOSMALL = MakeDdHResult(566);
constexpr HRESULT DDERR_CLIPPERISUSINGHWND = MakeDdHResult(567);
constexpr HRESULT DDERR_NOCLIPPERATTACHED = MakeDdHResult(568);
constexpr HRESULT DDERR_NOHWND = MakeDdHResult(569);
constexpr HRESULT DDERR_HWNDSUBCLASSED = MakeDdHResult(570);
constexpr HRESULT DDERR_HWNDALREADYSET = MakeDdHResult(571);
constexpr HRESULT DDERR_NOPALETTEATTACHED = MakeDdHResult(572);
constexpr HRESULT DDERR_NOPALETTEHW = MakeDdHResult(573);
constexpr HRESULT DDERR_BLTFASTCANTCLIP = MakeDdHResult(574);
constexpr HRESULT DDERR_NOBLTHW = MakeDdHResult(575);
constexpr HRESULT DDERR_NODDROPSHW = MakeDdHResult(576);
constexpr HRESULT DDERR_OVERLAYNOTVISIBLE = MakeDdHResult(577);
constexpr HRESULT DDERR_NOOVERLAYDEST = MakeDdHResult(578);
constexpr HRESULT DDERR_INVALIDPOSITION = MakeDdHResult(579);
constexpr HRESULT DDERR_NOTAOVERLAYSURFACE = MakeDdHResult(580);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MakeDdHResult(581);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDdHResult(582);
constexpr HRESULT DDERR_CANTDUPLICATE = MakeDdHResult(583);
constexpr HRESULT DDERR_NOTLOCKED = MakeDdHResult(584);
constexpr HRESULT DDERR_CANTCREATEDC = MakeDdHResult(585);
constexpr HRESULT DDERR_NODC = MakeDdHResult(586);
constexpr HRESULT DDERR_WRONGMODE = MakeDdHResult(587);
constexpr HRESULT DDERR_IMPLICITLYCREATED = MakeDdHResult(588);
constexpr HRESULT DDERR_NOTPALETTIZED = MakeDdHResult(589);
constexpr HRESULT DDERR_UNSUPPORTEDMODE = MakeDdHResult(590);
constexpr HRESULT DDERR_NOMIPMAPHW = MakeDdHResult(591);
constexpr HRESULT DDERR_INVALIDSURFACETYPE = MakeDdHResult(592);
constexpr HRESULT DDERR_DCALREADYCREATED = MakeDdHResult(620);
constexpr HRESULT DDERR_CANTPAGELOCK = MakeDdHResult(640);
constexpr HRESULT DDERR_CANTPAGEUNLOCK = MakeDdHResult(660);
constexpr HRESULT DDERR_NOTPAGELOCKED = MakeDdHResult(680);

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
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
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

// Lock
constexpr DWORD DDLOCK_WAIT = 0x00000001;
constexpr DWORD DDLOCK_READONLY = 0x00000010;

// SetColorKey
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// DDPIXELFORMAT::dwFlags
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
constexpr DWORD DDPF_RGB = 0x00000040;

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
    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface4* source, RECT* sourceRect, DWORD flags,
                        DDBLTFX* effects) = 0;
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
    // A number that changes whenever the surface's pixels may have changed.
    virtual HRESULT GetUniquenessValue(DWORD* value) = 0;
    // The pixels for the caller until Unlock (the whole surface: no rectangle).
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(RECT* rect) = 0;
};

class IDirectDraw4 : public IUnknown
{
public:
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
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
